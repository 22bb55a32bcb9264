#pragma once
// The channel panel: sixteen vertical volume sliders with a check box under each. What it decides
// lives in TKVPianoChannelsCore; this class makes the track bars and check boxes where the core
// places them, passes the user's changes to the core and shows the core's changes.
#include "gui/win/TCheckBox.h"
#include "gui/win/TPanel.h"
#include "gui/win/TTrackBar.h"
#include "piano/kvPianoChannelsCore.h"

#include <array>

namespace kv {

class TKVPianoChannels : public TPanel, public TKVPianoChannelsCore {
public:
    explicit TKVPianoChannels(TComponent* AOwner);
    std::string ClassName() const override { return "TKVPianoChannels"; }

    // The channel's controls; they are made anew by every layout change.
    TTrackBar* ChannelSlider(int Channel) const;
    TCheckBox* ChannelBox(int Channel) const;

protected:
    void ChannelsBuilt() override;
    void SliderChanged(int Channel) override;
    void BoxChanged(int Channel) override;
    TObject* SliderSender(int Channel) override { return ChannelSlider(Channel); }
    TObject* BoxSender(int Channel) override { return ChannelBox(Channel); }

private:
    void FreeChannels();

    std::array<TTrackBar*, ChannelCount> FSliders{};
    std::array<TCheckBox*, ChannelCount> FBoxes{};
};

} // namespace kv
