#pragma once
// Everything the channel panel decides without a window: the sixteen channels' volume sliders
// and check boxes, their places, their states and the change events. TKVPianoChannels makes the
// track bars and check boxes through the protected hooks and passes the user's changes in.
//
// A slider's position p (0..127, 0 at the top) stands for the volume 127 - p. The change events
// follow every real change of a position or a check state, whoever made it, and only those.
#include "base/TObject.h"
#include "gui/TColor.h"
#include "gui/TRect.h"

#include <array>
#include <cstdint>
#include <string>

namespace kv {

constexpr int ChannelCount = 16;
constexpr int ChannelSliderWidth = 15;
constexpr int ChannelBoxSize = 17;
constexpr int ChannelPositionMax = 127;
constexpr int PercussionChannel = 9;
constexpr TColor PercussionBoxColor = 0xC0DCC0;

// A channel's volume slider; Tag is its channel.
struct TKVChannelSlider : public TObject {
    std::string ClassName() const override { return "TKVChannelSlider"; }
    std::string Name; // "trbChannel" followed by the channel
    std::int32_t Tag = 0;
    TRect Bounds;
    std::int32_t Position = ChannelPositionMax;
    bool Enabled = true;
};

// A channel's check box under its slider; Tag is its channel.
struct TKVChannelBox : public TObject {
    std::string ClassName() const override { return "TKVChannelBox"; }
    std::string Name; // "chkChannel" followed by the channel
    std::int32_t Tag = 0;
    TRect Bounds;
    std::string Hint; // the channel counted from 1
    bool Colored = false; // the percussion channel's box has PercussionBoxColor
    bool Checked = false;
    bool Enabled = true;
};

class TKVPianoChannelsCore {
public:
    // Builds the channels; as the owner's events are not bound yet, this raises nothing.
    TKVPianoChannelsCore();
    virtual ~TKVPianoChannelsCore() = default;
    TKVPianoChannelsCore(const TKVPianoChannelsCore&) = delete;
    TKVPianoChannelsCore& operator=(const TKVPianoChannelsCore&) = delete;

    // Layout in pixels. Every setter builds the channels anew, also for an unchanged value:
    // all sliders at full volume, only channel 0 checked.
    std::int32_t ChannelTop() const { return FChannelTop; }
    void SetChannelTop(std::int32_t Value);
    std::int32_t ChannelLeft() const { return FChannelLeft; }
    void SetChannelLeft(std::int32_t Value);
    std::int32_t ChannelSpace() const { return FChannelSpace; }
    void SetChannelSpace(std::int32_t Value);
    std::int32_t ChannelHeight() const { return FChannelHeight; }
    void SetChannelHeight(std::int32_t Value);

    const TKVChannelSlider& Slider(int Channel) const;
    const TKVChannelBox& Box(int Channel) const;

    // Whether the channel's box is checked. A channel outside 0..15 raises Exception
    // "Channel boundary out of the range!", as do the other operations taking a channel.
    bool GetChannelActive(int Channel) const;
    // The channel's slider shows the volume Value (position 127 - Value, kept within 0..127).
    void DoChannelEvent(std::int32_t Index, std::int32_t Value);
    // Enables the channel's box and slider, checks the box as Value says and puts the slider at
    // full volume (checked) or at volume 0.
    void DoChannelBox(int Channel, bool Value);
    // Every slider at full volume and enabled; with bBox, only channel 0 checked, all boxes
    // enabled.
    void ResetChannel(bool bBox);

    // The user moved a slider or clicked a box: the same events as a programmatic change.
    void SliderMoved(int Channel, std::int32_t Position);
    void BoxClicked(int Channel);

    // Sender: the slider (OnChannelChange) or the box (OnChannelClick), whose Tag is its channel.
    TNotifyEvent OnChannelChange;
    TNotifyEvent OnChannelClick;

protected:
    // Hooks for the window. ChannelsBuilt follows every build: the controls are to be made anew
    // from Slider and Box. A change of one control's state is passed on by SliderChanged or
    // BoxChanged, before the change event. SliderSender and BoxSender give the events' Sender.
    virtual void ChannelsBuilt() {}
    virtual void SliderChanged(int /*Channel*/) {}
    virtual void BoxChanged(int /*Channel*/) {}
    virtual TObject* SliderSender(int Channel) { return &FSliders[static_cast<std::size_t>(Channel)]; }
    virtual TObject* BoxSender(int Channel) { return &FBoxes[static_cast<std::size_t>(Channel)]; }

    // Builds the channels: the window calls it again once its hooks can be reached.
    void BuildChannels();

private:
    static void CheckChannel(int Channel);
    void SetPosition(int Channel, std::int32_t Position, bool Enabled);
    void SetBox(int Channel, bool Checked, bool Enabled);

    std::array<TKVChannelSlider, ChannelCount> FSliders;
    std::array<TKVChannelBox, ChannelCount> FBoxes;
    std::int32_t FChannelHeight = 66;
    std::int32_t FChannelSpace = 12;
    std::int32_t FChannelLeft = 6;
    std::int32_t FChannelTop = 0;
};

} // namespace kv
