#pragma once

#include <QSize>

#include <cstdint>
#include <optional>

namespace glim {

// The viewer's arithmetic without widgets: the scroll bars' 16-bit values, where a picture is
// placed in the frame, and keyboard paging. Positions and lengths are pixels.

// Key codes that the viewer's key-down handler passes on.
inline constexpr int kKeyPageUp = 33;
inline constexpr int kKeyPageDown = 34;

// A value brought into the 16-bit range of the scroll bars.
std::int16_t clampTo16(long long value);

// One scroll bar's values. Value always lies between Min and Max, also when Max is the smaller
// (a picture shorter than the bar gives a negative Max); changing the range moves Value into it.
// The setters report whether Value changed, so that the value-changed handler runs only then.
class ScrollBarState {
public:
    int min() const { return m_min; }
    int max() const { return m_max; }
    int value() const { return m_value; }
    int smallChange() const { return m_smallChange; }
    int largeChange() const { return m_largeChange; }

    bool setMin(long long min);
    bool setMax(long long max);
    bool setValue(long long value);
    void setSmallChange(long long change) { m_smallChange = clampTo16(change); }
    void setLargeChange(long long change) { m_largeChange = clampTo16(change); }

private:
    bool keepValueInRange();

    std::int16_t m_min = 0;
    std::int16_t m_max = 32767;
    std::int16_t m_value = 0;
    std::int16_t m_smallChange = 1;
    std::int16_t m_largeChange = 1;
};

// What the placement of a picture depends on.
struct ViewerSizes {
    QSize picture;      // the picture box `ima`
    int hBarLength = 0; // width of `HScroll1`
    int vBarLength = 0; // height of `VScroll1`
    QSize frame;        // the frame `imagroot`
};

// Where a picture goes. An axis without a position keeps the one it has; a bar that is
// disabled stays disabled until the next picture change enables both again.
struct Placement {
    std::optional<int> left;
    std::optional<int> top;
    bool disableHBar = false;
    bool disableVBar = false;
    bool pressCentre = false; // the tool bar's "Center" button goes down
};

// After every picture change. A picture narrower than the horizontal bar is centred across
// the frame; any other is put at Left 0 and Top 0. A picture shorter than the vertical bar is
// centred down the frame; a taller one keeps the Top it has (a tall and narrow picture thus
// stays where it was vertically). The tests are against the bars' lengths while the centring
// uses the frame's size: the vertical bar is 2 pixels shorter than the frame.
Placement placeAfterPictureChange(const ViewerSizes& sizes);
// When the user chooses a picture (a list row, an opened file, a paste): the same centring,
// and otherwise Left 0 and Top 0 each on its own axis.
Placement placeChosenPicture(const ViewerSizes& sizes);
// frame / 2 - picture / 2, both halves in single precision, rounded half to even.
int centred(int frameLength, int pictureLength);

// Page Down and Page Up move the vertical bar by its own length, capped at its Max; the picture
// then follows the bar. At the cap the picture's Top is set to -Max at once, which for a picture
// shorter than the bar puts its bottom edge at the bar's length.
struct Paging {
    std::optional<int> top; // a Top set directly
    int value = 0;          // the vertical bar's new Value
};
// Empty for any key but Page Up and Page Down.
std::optional<Paging> checkKeyCode(int keyCode, int pictureTop, int vBarLength, int vBarMax);

} // namespace glim
