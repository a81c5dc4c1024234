#pragma once
// Walks the rows of a final-standings result in query order: where a new age
// class starts and which place each row takes. The printed list and the HTML page
// both number through this, so that they group and rank alike.
#include <QString>
#include <cstdint>

namespace tarnis {

class ClassRanking {
public:
    struct Step {
        bool opensClass;
        int place;
    };
    // The first row always opens a class (a blank class included); after that a
    // class opens where the trimmed class differs from the one in hand as the series
    // file compares text, without case. Within a class equal totals share a place
    // and the counter runs on: 1, 2, 2, 4.
    Step next(const QString &ageClass, std::int64_t total);

private:
    bool first_ = true;
    QString class_;
    int counter_ = 1;
    int previousPlace_ = 0;
    std::int64_t previousTotal_ = 0;
};

// The class as a heading shows it: its first 20 characters, trimmed, control characters as blanks.
QString classHeading(const QString &ageClass);

}  // namespace tarnis
