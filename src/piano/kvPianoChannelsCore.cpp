#include "piano/kvPianoChannelsCore.h"

#include "base/Exceptions.h"

#include <algorithm>

namespace kv {

TKVPianoChannelsCore::TKVPianoChannelsCore()
{
    BuildChannels();
}

void TKVPianoChannelsCore::SetChannelTop(std::int32_t Value)
{
    FChannelTop = Value;
    BuildChannels();
}

void TKVPianoChannelsCore::SetChannelLeft(std::int32_t Value)
{
    FChannelLeft = Value;
    BuildChannels();
}

void TKVPianoChannelsCore::SetChannelSpace(std::int32_t Value)
{
    FChannelSpace = Value;
    BuildChannels();
}

void TKVPianoChannelsCore::SetChannelHeight(std::int32_t Value)
{
    FChannelHeight = Value;
    BuildChannels();
}

void TKVPianoChannelsCore::BuildChannels()
{
    for (int i = 0; i < ChannelCount; ++i) {
        const std::int32_t left = (FChannelLeft + FChannelSpace) * i + FChannelLeft;
        TKVChannelSlider& slider = FSliders[static_cast<std::size_t>(i)];
        slider.Name = "trbChannel" + std::to_string(i);
        slider.Tag = i;
        slider.Bounds = Rect(left, FChannelTop, left + ChannelSliderWidth, FChannelTop + FChannelHeight);
        slider.Position = ChannelPositionMax;
        slider.Enabled = true;

        TKVChannelBox& box = FBoxes[static_cast<std::size_t>(i)];
        box.Name = "chkChannel" + std::to_string(i);
        box.Tag = i;
        const std::int32_t top = FChannelTop + FChannelHeight;
        box.Bounds = Rect(left, top, left + ChannelBoxSize, top + ChannelBoxSize);
        box.Hint = std::to_string(i + 1);
        box.Colored = i == PercussionChannel;
        box.Checked = false;
        box.Enabled = true;
    }
    ChannelsBuilt();
    ResetChannel(true);
}

const TKVChannelSlider& TKVPianoChannelsCore::Slider(int Channel) const
{
    CheckChannel(Channel);
    return FSliders[static_cast<std::size_t>(Channel)];
}

const TKVChannelBox& TKVPianoChannelsCore::Box(int Channel) const
{
    CheckChannel(Channel);
    return FBoxes[static_cast<std::size_t>(Channel)];
}

void TKVPianoChannelsCore::CheckChannel(int Channel)
{
    if (Channel < 0 || Channel >= ChannelCount) throw Exception("Channel boundary out of the range!");
}

bool TKVPianoChannelsCore::GetChannelActive(int Channel) const
{
    return Box(Channel).Checked;
}

void TKVPianoChannelsCore::DoChannelEvent(std::int32_t Index, std::int32_t Value)
{
    CheckChannel(Index);
    const std::int32_t position = std::clamp(ChannelPositionMax - Value, 0, ChannelPositionMax);
    SetPosition(Index, position, FSliders[static_cast<std::size_t>(Index)].Enabled);
}

void TKVPianoChannelsCore::DoChannelBox(int Channel, bool Value)
{
    CheckChannel(Channel);
    SetBox(Channel, Value, true);
    SetPosition(Channel, Value ? 0 : ChannelPositionMax, true);
}

void TKVPianoChannelsCore::ResetChannel(bool bBox)
{
    for (int i = 0; i < ChannelCount; ++i) SetPosition(i, 0, true);
    if (!bBox) return;
    for (int i = 0; i < ChannelCount; ++i) SetBox(i, i == 0, true);
}

void TKVPianoChannelsCore::SliderMoved(int Channel, std::int32_t Position)
{
    CheckChannel(Channel);
    SetPosition(Channel, std::clamp(Position, 0, ChannelPositionMax), FSliders[static_cast<std::size_t>(Channel)].Enabled);
}

void TKVPianoChannelsCore::BoxClicked(int Channel)
{
    CheckChannel(Channel);
    const TKVChannelBox& box = FBoxes[static_cast<std::size_t>(Channel)];
    SetBox(Channel, !box.Checked, box.Enabled);
}

void TKVPianoChannelsCore::SetPosition(int Channel, std::int32_t Position, bool Enabled)
{
    TKVChannelSlider& slider = FSliders[static_cast<std::size_t>(Channel)];
    const bool moved = slider.Position != Position;
    if (!moved && slider.Enabled == Enabled) return;
    slider.Position = Position;
    slider.Enabled = Enabled;
    SliderChanged(Channel);
    if (moved && OnChannelChange) OnChannelChange(SliderSender(Channel));
}

void TKVPianoChannelsCore::SetBox(int Channel, bool Checked, bool Enabled)
{
    TKVChannelBox& box = FBoxes[static_cast<std::size_t>(Channel)];
    const bool toggled = box.Checked != Checked;
    if (!toggled && box.Enabled == Enabled) return;
    box.Checked = Checked;
    box.Enabled = Enabled;
    BoxChanged(Channel);
    if (toggled && OnChannelClick) OnChannelClick(BoxSender(Channel));
}

} // namespace kv
