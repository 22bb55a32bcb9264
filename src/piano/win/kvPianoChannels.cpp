#include "piano/win/kvPianoChannels.h"

#include "base/Exceptions.h"

namespace kv {

TKVPianoChannels::TKVPianoChannels(TComponent* AOwner) : TPanel(AOwner)
{
    // The core built its channels before this object's hooks could be reached.
    BuildChannels();
}

TTrackBar* TKVPianoChannels::ChannelSlider(int Channel) const
{
    if (Channel < 0 || Channel >= ChannelCount) throw Exception("Channel boundary out of the range!");
    return FSliders[static_cast<std::size_t>(Channel)];
}

TCheckBox* TKVPianoChannels::ChannelBox(int Channel) const
{
    if (Channel < 0 || Channel >= ChannelCount) throw Exception("Channel boundary out of the range!");
    return FBoxes[static_cast<std::size_t>(Channel)];
}

void TKVPianoChannels::FreeChannels()
{
    for (int i = ChannelCount - 1; i >= 0; --i) {
        delete FBoxes[static_cast<std::size_t>(i)];
        FBoxes[static_cast<std::size_t>(i)] = nullptr;
    }
    for (int i = ChannelCount - 1; i >= 0; --i) {
        delete FSliders[static_cast<std::size_t>(i)];
        FSliders[static_cast<std::size_t>(i)] = nullptr;
    }
}

void TKVPianoChannels::ChannelsBuilt()
{
    FreeChannels();
    for (int i = 0; i < ChannelCount; ++i) {
        const TKVChannelSlider& model = Slider(i);
        auto* bar = new TTrackBar(this);
        bar->SetName(model.Name);
        bar->SetTag(model.Tag);
        bar->SetOrientation(trVertical);
        bar->SetTicksBoth(true);
        bar->SetNoTicks(true);
        bar->SetBounds(model.Bounds.Left, model.Bounds.Top, model.Bounds.Right - model.Bounds.Left,
                       model.Bounds.Bottom - model.Bounds.Top);
        bar->SetRange(0, ChannelPositionMax);
        bar->SetPosition(model.Position);
        bar->SetFrequency(10);
        bar->SetThumbLength(10);
        bar->SetEnabled(model.Enabled);
        bar->SetParent(this);
        // Bound after the position: making the bar raises nothing.
        bar->OnChange = [this, i](TObject* Sender) { SliderMoved(i, static_cast<TTrackBar*>(Sender)->Position()); };
        FSliders[static_cast<std::size_t>(i)] = bar;
    }
    for (int i = 0; i < ChannelCount; ++i) {
        const TKVChannelBox& model = Box(i);
        auto* box = new TCheckBox(this);
        box->SetName(model.Name);
        box->SetTag(model.Tag);
        box->SetBounds(model.Bounds.Left, model.Bounds.Top, model.Bounds.Right - model.Bounds.Left,
                       model.Bounds.Bottom - model.Bounds.Top);
        box->SetChecked(model.Checked);
        box->SetEnabled(model.Enabled);
        box->SetHint(model.Hint);
        box->SetShowHint(true);
        if (model.Colored) box->SetColor(PercussionBoxColor);
        box->SetParent(this);
        // The box reports the core's own changes too: only a state that differs from the core's
        // is the user's.
        box->OnClick = [this, i](TObject* Sender) {
            if (static_cast<TCheckBox*>(Sender)->Checked() != Box(i).Checked) BoxClicked(i);
        };
        FBoxes[static_cast<std::size_t>(i)] = box;
    }
}

void TKVPianoChannels::SliderChanged(int Channel)
{
    TTrackBar* bar = FSliders[static_cast<std::size_t>(Channel)];
    if (!bar) return;
    bar->SetEnabled(Slider(Channel).Enabled);
    bar->SetPosition(Slider(Channel).Position);
}

void TKVPianoChannels::BoxChanged(int Channel)
{
    TCheckBox* box = FBoxes[static_cast<std::size_t>(Channel)];
    if (!box) return;
    box->SetEnabled(Box(Channel).Enabled);
    box->SetChecked(Box(Channel).Checked);
}

} // namespace kv
