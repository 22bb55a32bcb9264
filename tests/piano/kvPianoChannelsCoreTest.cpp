#include "piano/kvPianoChannelsCore.h"

#include "base/Exceptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kv {
namespace {

// The panel with its events recorded as "change <tag>" and "click <tag>", and its builds counted.
class RecordingChannels : public TKVPianoChannelsCore {
public:
    RecordingChannels()
    {
        OnChannelChange = [this](TObject* Sender) { Record("change", Sender); };
        OnChannelClick = [this](TObject* Sender) { Record("click", Sender); };
    }
    std::vector<std::string> events;
    int builds = 0;

protected:
    void ChannelsBuilt() override { ++builds; }

private:
    void Record(const std::string& kind, TObject* Sender)
    {
        std::int32_t tag = -1;
        if (auto* slider = dynamic_cast<TKVChannelSlider*>(Sender)) tag = slider->Tag;
        if (auto* box = dynamic_cast<TKVChannelBox*>(Sender)) tag = box->Tag;
        events.push_back(kind + " " + std::to_string(tag));
    }
};

TEST(PianoChannelsCore, ANewPanelHasChannelZeroCheckedAndAllSlidersAtTheTop)
{
    RecordingChannels panel;
    for (int i = 0; i < ChannelCount; ++i) {
        EXPECT_EQ(panel.GetChannelActive(i), i == 0) << i;
        EXPECT_EQ(panel.Slider(i).Position, 0) << i;
        EXPECT_TRUE(panel.Slider(i).Enabled) << i;
        EXPECT_TRUE(panel.Box(i).Enabled) << i;
        EXPECT_EQ(panel.Slider(i).Tag, i);
        EXPECT_EQ(panel.Box(i).Tag, i);
        EXPECT_EQ(panel.Box(i).Hint, std::to_string(i + 1));
        EXPECT_EQ(panel.Box(i).Colored, i == PercussionChannel) << i;
    }
    EXPECT_EQ(panel.Slider(15).Name, "trbChannel15");
    EXPECT_EQ(panel.Box(0).Name, "chkChannel0");
    EXPECT_TRUE(panel.events.empty()); // nothing bound while it was built
}

TEST(PianoChannelsCore, GeometryFollowsTheLayoutValues)
{
    struct Case { int left, space, height, top; std::vector<int> lefts; };
    // Defaults; the options window's values; no space; a top offset.
    const Case cases[] = {
        {6, 12, 66, 0, {6, 24, 42}},
        {5, 11, 56, 0, {5, 21, 37}},
        {6, 0, 66, 0, {6, 12, 18}},
        {6, 12, 40, 10, {6, 24, 42}},
    };
    for (const Case& c : cases) {
        RecordingChannels panel;
        panel.SetChannelLeft(c.left);
        panel.SetChannelSpace(c.space);
        panel.SetChannelHeight(c.height);
        panel.SetChannelTop(c.top);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(panel.Slider(i).Bounds, Rect(c.lefts[static_cast<std::size_t>(i)], c.top,
                                                   c.lefts[static_cast<std::size_t>(i)] + 15, c.top + c.height))
                << c.space << " " << i;
            EXPECT_EQ(panel.Box(i).Bounds, Rect(c.lefts[static_cast<std::size_t>(i)], c.top + c.height,
                                                c.lefts[static_cast<std::size_t>(i)] + 17, c.top + c.height + 17))
                << c.space << " " << i;
        }
        EXPECT_EQ(panel.Slider(15).Bounds.Left, (c.left + c.space) * 15 + c.left);
    }
    RecordingChannels options;
    options.SetChannelLeft(5);
    options.SetChannelSpace(11);
    options.SetChannelHeight(56);
    EXPECT_EQ(options.Slider(15).Bounds.Left, 245);
    EXPECT_EQ(options.Box(15).Bounds.Top, 56);
    EXPECT_LE(options.Box(15).Bounds.Right, 265);
    EXPECT_LE(options.Box(15).Bounds.Bottom, 76);
}

TEST(PianoChannelsCore, DoChannelEventRaisesOnlyForAChange)
{
    RecordingChannels panel;
    panel.DoChannelEvent(3, 100);
    EXPECT_EQ(panel.Slider(3).Position, 27);
    EXPECT_EQ(panel.events, (std::vector<std::string>{"change 3"}));
    panel.DoChannelEvent(3, 100);
    EXPECT_EQ(panel.events.size(), 1u);

    struct Case { int value, position; };
    for (const Case& c : {Case{127, 0}, Case{0, 127}, Case{200, 0}, Case{-5, 127}}) {
        panel.DoChannelEvent(4, c.value);
        EXPECT_EQ(panel.Slider(4).Position, c.position) << c.value;
    }
    // 127 on a slider already at the top raises nothing; 0, 200 (kept at the top) and -5 (the bottom) do.
    EXPECT_EQ(panel.events, (std::vector<std::string>{"change 3", "change 4", "change 4", "change 4"}));
}

TEST(PianoChannelsCore, ChannelsOutsideTheSixteenAreRefused)
{
    RecordingChannels panel;
    for (int channel : {16, 255, -1}) {
        try {
            panel.GetChannelActive(channel);
            ADD_FAILURE() << channel;
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), "Channel boundary out of the range!");
        }
        EXPECT_THROW(panel.DoChannelEvent(channel, 100), Exception) << channel;
        EXPECT_THROW(panel.DoChannelBox(channel, true), Exception) << channel;
        EXPECT_THROW(panel.SliderMoved(channel, 3), Exception) << channel;
    }
    EXPECT_TRUE(panel.events.empty());
    EXPECT_NO_THROW(panel.GetChannelActive(15));
}

TEST(PianoChannelsCore, DoChannelBoxRaisesOneEventPerChange)
{
    RecordingChannels panel;
    panel.DoChannelBox(9, true); // checked, at full volume
    EXPECT_EQ(panel.events, (std::vector<std::string>{"click 9"}));
    panel.events.clear();

    panel.DoChannelBox(9, false);
    EXPECT_FALSE(panel.GetChannelActive(9));
    EXPECT_EQ(panel.Slider(9).Position, 127);
    EXPECT_EQ(panel.events, (std::vector<std::string>{"click 9", "change 9"}));
    panel.events.clear();
    panel.DoChannelBox(9, false);
    EXPECT_TRUE(panel.events.empty());
}

TEST(PianoChannelsCore, ResetChannelKeepsOrResetsTheBoxes)
{
    RecordingChannels panel;
    panel.SliderMoved(2, 50);
    panel.ResetChannel(false);
    EXPECT_EQ(panel.Slider(2).Position, 0);
    panel.DoChannelBox(2, true);
    panel.ResetChannel(false); // check boxes stay as they are
    EXPECT_TRUE(panel.GetChannelActive(2));
    EXPECT_TRUE(panel.GetChannelActive(0));
    panel.ResetChannel(true);
    EXPECT_FALSE(panel.GetChannelActive(2));
    EXPECT_TRUE(panel.GetChannelActive(0));
    EXPECT_EQ(panel.events, (std::vector<std::string>{"change 2", "change 2", "click 2", "click 2"}));
}

TEST(PianoChannelsCore, UserChangesRaiseTheSameEvents)
{
    RecordingChannels panel;
    panel.SliderMoved(5, 40);
    panel.SliderMoved(5, 40);
    panel.BoxClicked(5);
    panel.BoxClicked(5);
    EXPECT_EQ(panel.events, (std::vector<std::string>{"change 5", "click 5", "click 5"}));
    EXPECT_FALSE(panel.GetChannelActive(5));
}

TEST(PianoChannelsCore, EveryLayoutChangeBuildsAnewAndResets)
{
    RecordingChannels panel;
    panel.DoChannelBox(3, true);
    panel.DoChannelEvent(3, 10);
    panel.events.clear();
    const int builds = panel.builds;

    panel.SetChannelSpace(panel.ChannelSpace()); // unchanged: built all the same
    EXPECT_EQ(panel.builds, builds + 1);
    EXPECT_FALSE(panel.GetChannelActive(3));
    EXPECT_TRUE(panel.GetChannelActive(0));
    // Fresh controls start at the bottom, unchecked: every slider moves to the top, channel 0 is checked.
    std::vector<std::string> expected;
    for (int i = 0; i < ChannelCount; ++i) expected.push_back("change " + std::to_string(i));
    expected.push_back("click 0");
    EXPECT_EQ(panel.events, expected);
}

} // namespace
} // namespace kv
