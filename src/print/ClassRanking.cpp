#include "print/ClassRanking.h"

#include "platform/engine/Collation.h"
#include "platform/text/OutputText.h"
#include "platform/text/TextRules.h"

namespace tarnis {

ClassRanking::Step ClassRanking::next(const QString &ageClass, std::int64_t total) {
    const QString trimmed = textrules::Trim(ageClass);
    // Most rows stay in their class: the exact test spares the collation.
    const bool opens = first_ || (trimmed != class_ && compareGeneral(trimmed, class_) != 0);
    if (opens) {
        first_ = false;
        class_ = trimmed;
        counter_ = 1;
    }
    const int place = !opens && total == previousTotal_ ? previousPlace_ : counter_;
    previousPlace_ = place;
    previousTotal_ = total;
    ++counter_;
    return {opens, place};
}

QString classHeading(const QString &ageClass) { return textrules::Trim(textrules::Left(blankControls(ageClass), 20)); }

}  // namespace tarnis
