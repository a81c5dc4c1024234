#include "mainwin/Placement.h"

#include "platform/errors/AppError.h"
#include "platform/settings/Settings.h"

#include <algorithm>
#include <cmath>

namespace tarnis {

namespace {
const QString kLastUser = QStringLiteral("LastUser");

std::int64_t whole(double v) { return std::int64_t(std::nearbyint(v)); }
int pixels(double tw, double twipsPerPixel) { return int(std::lround(tw / twipsPerPixel)); }
}  // namespace

PixelRect PlacementRestorer::restore(const Placement &stored, const FrameMargins &known, double twipsPerPixel) {
    stored_ = stored;
    frame_ = {pixels(stored.left, twipsPerPixel), pixels(stored.top, twipsPerPixel),
              pixels(stored.width, twipsPerPixel), pixels(stored.height, twipsPerPixel)};
    used_ = known;
    restored_ = true;
    following_ = known.isNull();
    return clientFor(known);
}

std::optional<PixelRect> PlacementRestorer::marginsKnown(const FrameMargins &now) {
    if (!following_ || now == used_) return std::nullopt;
    used_ = now;
    following_ = now.isNull();
    return clientFor(now);
}

PixelRect PlacementRestorer::clientFor(const FrameMargins &m) const {
    return {frame_.x + m.left, frame_.y + m.top, std::max(0, frame_.width - m.left - m.right),
            std::max(0, frame_.height - m.top - m.bottom)};
}

Placement PlacementRestorer::placementToStore(const PixelRect &frame, double twipsPerPixel) const {
    if (restored_ && frame == frame_) return stored_;
    return {frame.height * twipsPerPixel, frame.width * twipsPerPixel, frame.x * twipsPerPixel,
            frame.y * twipsPerPixel};
}

Placement ReadPlacement(BadSettings &bad) {
    // Beyond whole twips a value would not even convert to pixels.
    auto twips = [&](const char *key, double fallback) {
        return SettingOr(&bad, fallback, [&] {
            return SettingNumberWithin(kLastUser, QString::fromUtf8(key), QString::number(fallback), 2147483647.0);
        });
    };
    const Placement defaults;
    Placement p;
    p.height = twips("LastHeight", defaults.height);
    p.width = twips("LastWidth", defaults.width);
    p.left = twips("LastLeftPos", defaults.left);
    p.top = twips("LastTopPos", defaults.top);
    return p;
}

Placement FitPlacement(const Placement &stored, const PlacementLimits &limits, double twipsPerPixel,
                       BadSettings &bad) {
    const Placement defaults;
    const auto storedText = [](const char *key, double fallback) {
        return QStringLiteral("%1/%2 = \"%3\"")
            .arg(kLastUser, QString::fromUtf8(key),
                 GetSettingOrDefault(kLastUser, QString::fromUtf8(key), QString::number(fallback)));
    };
    const auto refuse = [&](const QString &what) {
        bad.push_back(AppError(err::InvalidPropertyValue, kRuntimeSource,
                               QStringLiteral("Ungültiger Eigenschaftswert (%1)").arg(what)));
    };
    Placement p = stored;
    // A default that does not fit either is kept: there is nothing better to take.
    if (pixels(p.height, twipsPerPixel) < limits.minHeight && p.height != defaults.height) {
        refuse(storedText("LastHeight", defaults.height));
        p.height = defaults.height;
    }
    if (pixels(p.width, twipsPerPixel) < limits.minWidth && p.width != defaults.width) {
        refuse(storedText("LastWidth", defaults.width));
        p.width = defaults.width;
    }
    // The title bar: the frame's top rows, one at least while their height is not told.
    const int x = pixels(p.left, twipsPerPixel), y = pixels(p.top, twipsPerPixel);
    const int right = x + pixels(p.width, twipsPerPixel), bottom = y + std::max(1, limits.titleHeight);
    const bool titleBarShown = std::any_of(limits.screens.begin(), limits.screens.end(), [&](const PixelRect &s) {
        return x < s.x + s.width && s.x < right && y < s.y + s.height && s.y < bottom;
    });
    if (!titleBarShown && (p.left != defaults.left || p.top != defaults.top)) {
        refuse(storedText("LastLeftPos", defaults.left) + QStringLiteral(", ") +
               storedText("LastTopPos", defaults.top));
        p.left = defaults.left;
        p.top = defaults.top;
    }
    return p;
}

StoredPosition ShutdownPosition(double top, double left, const ScreenMetrics &screen,
                                double innerWidth, double innerHeight) {
    StoredPosition p{whole(top), whole(left)};
    if (std::llabs(p.top) > 100000)
        p.top = whole(screen.heightPx / 2.0 * screen.twipsPerPixelY - innerHeight / 2);
    if (std::llabs(p.left) > 100000)
        p.left = whole(screen.widthPx / 2.0 * screen.twipsPerPixelX - innerWidth / 2);
    return p;
}

void SaveColumnWidths(const std::vector<GridColumn> &columns) {
    for (std::size_t n = 0; n < columns.size(); ++n)
        if (columns[n].setUp)
            SaveSetting(QStringLiteral("Grid"), QStringLiteral("ColWith%1").arg(n), QString::number(columns[n].width));
}

void SavePlacement(const StoredPosition &position, double outerHeight, double outerWidth,
                   const std::vector<GridColumn> &columns) {
    SaveSetting(kLastUser, QStringLiteral("LastTopPos"), QString::number(position.top));
    SaveSetting(kLastUser, QStringLiteral("LastLeftPos"), QString::number(position.left));
    SaveSetting(kLastUser, QStringLiteral("LastHeight"), QString::number(outerHeight, 'g', 15));
    SaveSetting(kLastUser, QStringLiteral("LastWidth"), QString::number(outerWidth, 'g', 15));
    for (int n : {0, 1, 3, 4})
        if (n < int(columns.size()) && columns[n].setUp)
            SaveSetting(kLastUser, QStringLiteral("SizeOfGridCol%1").arg(n), QString::number(columns[n].width));
}

}  // namespace tarnis
