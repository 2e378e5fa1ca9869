// The Command button's properties and stored values against fakes: the first Enabled read, Visible's 255,
// saving with defaults, loading back, case-blind keys and values that do not convert.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "FakeCommandHost.h"
#include "FakePlatform.h"
#include "controls/Command.h"

namespace pelluna {
namespace {

using ::testing::ElementsAre;
using testing::FakeCommandHost;
using testing::FakePlatform;
using ::testing::IsEmpty;
using ::testing::Pair;

const std::wstring kGothic = L"\xFF2D\xFF33 \xFF30\x30B4\x30B7\x30C3\x30AF";  // the dialog's typeface

class CommandPropertiesTest : public ::testing::Test {
  protected:
    std::vector<std::string> Paints() const { return testing::PaintedPictures(fake_.log); }

    FakePlatform fake_;
    FakeCommandHost host_{fake_.log};
    Command command_{fake_.user, fake_.gdi, host_};
};

TEST_F(CommandPropertiesTest, TheFirstEnabledReadOfANewInstanceSetsItUp) {
    host_.label.foreColor = 0x0000FF;
    EXPECT_EQ(command_.State(), 0);
    EXPECT_EQ(command_.FirstRun(), 0);
    EXPECT_TRUE(command_.Enabled());
    EXPECT_EQ(command_.FirstRun(), 1);
    // Still disabled when the first-run step ran its RestoreNormalLook: nothing but the enabled look.
    EXPECT_THAT(Paints(), ElementsAre("Normal"));
    EXPECT_THAT(fake_.log.CallsTo("Label."),
                ElementsAre("Label.Move(0, 80, 1275)", "Label.SetEnabled(true)"));
    EXPECT_EQ(host_.label.foreColor, 0x0000FFu);
    EXPECT_EQ(command_.State(), 0);
    // From then on the read only repaints.
    fake_.log.Clear();
    EXPECT_TRUE(command_.Enabled());
    EXPECT_EQ(command_.FirstRun(), 1);
    EXPECT_THAT(Paints(), ElementsAre("Normal"));
}

TEST_F(CommandPropertiesTest, WhileFirstRunIsZeroAnEnabledControlsCaptionTurnsBlack) {
    PropertyBag stored;
    stored.WriteProperty(L"FirstRun", L"0", L"1");
    stored.WriteProperty(L"FontColour", L"255", L"0");
    command_.LoadProperties(stored);
    EXPECT_EQ(host_.label.foreColor, 0u);
    EXPECT_THAT(fake_.log.CallsTo("Label.SetForeColor("),
                ElementsAre("Label.SetForeColor(255)", "Label.SetForeColor(0)"));
}

TEST_F(CommandPropertiesTest, VisibleReadsZeroOr255AndWritesTheBackgroundStyle) {
    command_.LoadProperties(PropertyBag{});
    fake_.log.Clear();
    EXPECT_EQ(command_.Visible(), 255);
    EXPECT_THAT(Paints(), ElementsAre("Normal"));

    fake_.log.Clear();
    command_.Visible(0);
    EXPECT_EQ(host_.backStyle, 0);
    EXPECT_EQ(command_.Visible(), 0);
    EXPECT_THAT(Paints(), IsEmpty());
    EXPECT_THAT(fake_.log.CallsTo("Host."),
                ElementsAre("Host.SetBackStyle(0)", "Host.PropertyChanged(\"Visible\")"));

    fake_.log.Clear();
    command_.Visible(7);
    EXPECT_EQ(host_.backStyle, 1);
    EXPECT_EQ(command_.Visible(), 255);
    EXPECT_THAT(Paints(), ElementsAre("Normal", "Normal"));
}

TEST_F(CommandPropertiesTest, WritesMarkTheirPropertyChangedAndRepaintAsTheyShould) {
    command_.LoadProperties(PropertyBag{});
    command_.Initialize();
    command_.MouseMove();  // state 2: a repaint shows the Normal look anyway
    const struct {
        const char* property;
        std::function<void(Command&)> write;
        std::vector<std::string> paints;
    } writes[] = {
        {"Caption", [](Command& c) { c.Caption(L"OK"); }, {}},
        {"Font",
         [](Command& c) {
             c.Font(FontObject{L"Arial", 12.0, 700, false, false, false, 0});
         },
         {}},
        {"FontColour", [](Command& c) { c.FontColour(0x123456); }, {"Normal"}},
        {"Enabled", [](Command& c) { c.Enabled(false); }, {"Disable"}},
        {"Enabled", [](Command& c) { c.Enabled(true); }, {"Normal"}},
    };
    for (const auto& w : writes) {
        SCOPED_TRACE(w.property);
        fake_.log.Clear();
        w.write(command_);
        EXPECT_EQ(Paints(), w.paints);
        EXPECT_THAT(fake_.log.CallsTo("Host.PropertyChanged("),
                    ElementsAre(std::string("Host.PropertyChanged(\"") + w.property + "\")"));
        EXPECT_EQ(command_.State(), 2);
    }
    EXPECT_EQ(host_.label.caption, L"OK");
    EXPECT_EQ(host_.label.font.Size, 12.0);
    EXPECT_EQ(command_.FontColour(), 0x123456u);
}

TEST_F(CommandPropertiesTest, ACaptionOfCommandIsTheSavingDefaultAndComesBackAsCommand1) {
    command_.LoadProperties(PropertyBag{});
    command_.Caption(L"Command");
    PropertyBag saved;
    command_.SaveProperties(saved);
    EXPECT_THAT(saved.Entries(), IsEmpty());

    FakeCommandHost otherHost(fake_.log);
    Command reloaded(fake_.user, fake_.gdi, otherHost);
    reloaded.LoadProperties(saved);
    EXPECT_EQ(reloaded.Caption(), L"Command1");
}

TEST_F(CommandPropertiesTest, ChangedValuesAreSavedAndComeBackWhole) {
    command_.LoadProperties(PropertyBag{});
    command_.Caption(L"\x8A2D\x5B9A");  // 設定
    command_.Font(FontObject{kGothic, 12.0, 700, true, false, true, 128});
    command_.FontColour(0x00FF8040);
    command_.Visible(0);
    command_.Enabled(false);
    PropertyBag saved;
    command_.SaveProperties(saved);
    EXPECT_THAT(saved.Entries(), ElementsAre(Pair(L"Caption", L"\x8A2D\x5B9A"), Pair(L"Enabled", L"False"),
                                             Pair(L"Font", L" 120000; 700;-1; 0;-1; 128;" + kGothic),
                                             Pair(L"FontColour", L" 16744512"), Pair(L"Visible", L" 0")));

    FakeCommandHost otherHost(fake_.log);
    otherHost.label.foreColor = 0x999999;
    Command reloaded(fake_.user, fake_.gdi, otherHost);
    reloaded.LoadProperties(saved);
    EXPECT_EQ(otherHost.label.caption, L"\x8A2D\x5B9A");
    EXPECT_EQ(otherHost.label.font, (FontObject{kGothic, 12.0, 700, true, false, true, 128}));
    EXPECT_EQ(otherHost.label.foreColor, 0x00FF8040u);
    EXPECT_EQ(otherHost.backStyle, 0);
    EXPECT_EQ(reloaded.FirstRun(), 1);
    fake_.log.Clear();
    reloaded.Resize();
    EXPECT_THAT(Paints(), ElementsAre("Disable"));
}

TEST_F(CommandPropertiesTest, AMissingFontIsTheAmbientFontAndTheAmbientFontIsNotStored) {
    host_.ambientFont = FontObject{kGothic, 9.75, 400, false, false, false, 128};
    host_.label.font = FontObject{L"Arial", 8.0, 400, false, false, false, 0};
    command_.LoadProperties(PropertyBag{});
    EXPECT_EQ(host_.label.font, host_.ambientFont);
    PropertyBag saved;
    command_.SaveProperties(saved);
    EXPECT_FALSE(saved.Find(L"Font").has_value());
}

TEST_F(CommandPropertiesTest, KeysMatchWithoutRegardToCase) {
    PropertyBag stored;
    stored.WriteProperty(L"CAPTION", L"Cancel", L"");
    stored.WriteProperty(L"enabled", L"False", L"");
    stored.WriteProperty(L"fontcolour", L"255", L"");
    stored.WriteProperty(L"Caption", L"...", L"");  // the same key: replaces the value
    EXPECT_EQ(stored.Entries().size(), 3u);
    command_.LoadProperties(stored);
    EXPECT_EQ(host_.label.caption, L"...");
    EXPECT_EQ(host_.label.foreColor, 255u);
    fake_.log.Clear();
    command_.Resize();
    EXPECT_THAT(Paints(), ElementsAre("Disable"));
    // Saving the default removes a value stored under another spelling.
    stored.WriteProperty(L"FontColour", L"0", L"0");
    EXPECT_FALSE(stored.Find(L"fontColour").has_value());
}

TEST_F(CommandPropertiesTest, AStoredValueThatDoesNotConvertLeavesItsTargetAsItWas) {
    const struct {
        const wchar_t* key;
        const wchar_t* text;
    } cases[] = {
        {L"Enabled", L"maybe"},
        {L"Enabled", L"99999"},
        {L"FirstRun", L"256"},
        {L"FirstRun", L"-1"},
        {L"FirstRun", L"x"},
        {L"FontColour", L"4294967296"},
        {L"FontColour", L"red"},
        {L"Visible", L"2"},
        {L"Visible", L"40000"},
        {L"Font", L"9.75;Arial"},
        {L"Font", L" 0; 400; 0; 0; 0; 0;Arial"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "key " << std::string(c.key, c.key + std::wcslen(c.key)));
        FakeCommandHost host(fake_.log);
        host.backStyle = 1;
        host.label.foreColor = 0x00ABCDEF;
        const FontObject before = host.label.font;
        Command command(fake_.user, fake_.gdi, host);
        // Start from known values that no default equals: disabled, FirstRun 0, transparent.
        PropertyBag first;
        first.WriteProperty(L"Enabled", L"False", L"");
        first.WriteProperty(L"FirstRun", L"0", L"");
        first.WriteProperty(L"FontColour", L"11259375", L"");
        first.WriteProperty(L"Visible", L"0", L"");
        first.WriteProperty(L"Font", FontToText(before), L"");
        command.LoadProperties(first);
        PropertyBag stored = first;
        stored.WriteProperty(c.key, c.text, L"");
        command.LoadProperties(stored);
        PropertyBag saved;
        command.SaveProperties(saved);
        // Everything but the caption is as the first load left it.
        EXPECT_EQ(saved.Find(L"Enabled"), L"False");
        EXPECT_EQ(saved.Find(L"FirstRun"), L" 0");
        EXPECT_EQ(saved.Find(L"FontColour"), L" 11259375");
        EXPECT_EQ(saved.Find(L"Visible"), L" 0");
        EXPECT_EQ(host.label.font, before);
    }
}

}  // namespace
}  // namespace pelluna
