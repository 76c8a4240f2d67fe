#include "screenshots/ViewerRules.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace glim {

std::int16_t clampTo16(long long value) {
    return static_cast<std::int16_t>(std::clamp<long long>(
        value, std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()));
}

bool ScrollBarState::setMin(long long min) {
    m_min = clampTo16(min);
    return keepValueInRange();
}

bool ScrollBarState::setMax(long long max) {
    m_max = clampTo16(max);
    return keepValueInRange();
}

bool ScrollBarState::setValue(long long value) {
    const std::int16_t before = m_value;
    m_value = clampTo16(value);
    keepValueInRange();
    return m_value != before;
}

bool ScrollBarState::keepValueInRange() {
    const std::int16_t low = std::min(m_min, m_max);
    const std::int16_t high = std::max(m_min, m_max);
    const std::int16_t before = m_value;
    m_value = std::clamp(m_value, low, high);
    return m_value != before;
}

int centred(int frameLength, int pictureLength) {
    const float position = float(frameLength) / 2.0f - float(pictureLength) / 2.0f;
    return static_cast<int>(std::nearbyint(position));
}

namespace {

// The centring is shared by both placements; `storeRule` decides what a picture at least as
// long as the bar gets: after a picture change Left and Top go to 0 together on the horizontal
// test alone, for a chosen picture each axis goes to 0 on its own test.
Placement place(const ViewerSizes& sizes, bool storeRule) {
    Placement placement;
    if (sizes.picture.width() < sizes.hBarLength) {
        placement.disableHBar = true;
        placement.left = centred(sizes.frame.width(), sizes.picture.width());
        placement.pressCentre = true;
    } else {
        placement.left = 0;
        if (storeRule)
            placement.top = 0;
    }
    if (sizes.picture.height() < sizes.vBarLength) {
        placement.disableVBar = true;
        placement.top = centred(sizes.frame.height(), sizes.picture.height());
    } else if (!storeRule) {
        placement.top = 0;
    }
    return placement;
}

} // namespace

Placement placeAfterPictureChange(const ViewerSizes& sizes) {
    return place(sizes, true);
}

Placement placeChosenPicture(const ViewerSizes& sizes) {
    return place(sizes, false);
}

std::optional<Paging> checkKeyCode(int keyCode, int pictureTop, int vBarLength, int vBarMax) {
    if (keyCode != kKeyPageDown && keyCode != kKeyPageUp)
        return std::nullopt;
    const double page = clampTo16(vBarLength);
    double v = -double(pictureTop) + (keyCode == kKeyPageDown ? page : -page);
    Paging paging;
    if (v > vBarMax) {
        v = vBarMax;
        paging.top = -vBarMax;
    }
    paging.value = v > 0 ? static_cast<int>(std::nearbyint(v)) : 0;
    return paging;
}

} // namespace glim
