// The MCI command channel against a scripted fake: commands sent, replies and error texts, recorded results.
#include <string>
#include <vector>

#include "MusicTestSupport.h"
#include "settings/SettingsValues.h"

namespace pelluna::testing {
namespace {

using Write = FakeMci::Write;
using Strings = std::vector<std::string>;

std::wstring Repeat(std::wstring_view piece, int times) {
    std::wstring text;
    for (int i = 0; i < times; ++i) text += piece;
    return text;
}

class MciChannel : public MusicTest {};

TEST_F(MciChannel, SuccessfulCommandGivesTheReplyAndRecordsZero) {
    gApiResult = 77;
    Answer("status cdaudio mode", 0, "playing");
    std::wstring reply = L"old";
    EXPECT_EQ(bgm.SendMciCommand(L"status cdaudio mode", reply), 0);
    EXPECT_EQ(reply, L"playing");
    EXPECT_EQ(gApiResult, 0);
    EXPECT_EQ(Calls(), Strings{WithReply("status cdaudio mode", 512)});
}

TEST_F(MciChannel, EmptyCommandIsAnsweredWithoutMciAndLeavesTheResultAlone) {
    gApiResult = 77;
    std::wstring reply;
    EXPECT_EQ(bgm.SendMciCommand(L"", reply), -1);
    EXPECT_EQ(reply, L"コマンド文字列が指定されていません");
    EXPECT_EQ(gApiResult, 77);
    EXPECT_TRUE(Calls().empty());
}

TEST_F(MciChannel, QueryOfEmptyCommandIsErrorMinusOneAndStoresIt) {
    gApiResult = 77;
    EXPECT_EQ(bgm.MciQuery(L""), L"Error:-1");
    EXPECT_EQ(gApiResult, -1);
    EXPECT_EQ(gMciReply, L"コマンド文字列が指定されていません");
    EXPECT_TRUE(Calls().empty());
}

TEST_F(MciChannel, ErrorsTheSystemCanAndCannotDescribe) {
    const struct {
        std::uint32_t code;
        bool described;
        std::string description;  // ANSI bytes, code page 932
        std::wstring expectedReply;
        std::wstring expectedQuery;
    } cases[] = {
        {263, true, "The specified device is not open.", L"The specified device is not open.", L"Error:263"},
        {266, true, "\x83\x47\x83\x89\x81\x5B", L"エラー", L"Error:266"},
        {277, false, "", L"Error (文字列が取れません)", L"Error:277"},
        // A code with the top bit set is still a 32-bit signed result.
        {0x80000001u, false, "", L"Error (文字列が取れません)", L"Error:-2147483647"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        log.Clear();
        mci.script.clear();
        mci.errorTexts.clear();
        if (c.described) mci.errorTexts[c.code] = c.description;
        Answer("status cdaudio current track", c.code);
        EXPECT_EQ(bgm.MciQuery(L"status cdaudio current track"), c.expectedQuery);
        EXPECT_EQ(gMciReply, c.expectedReply);
        EXPECT_EQ(gApiResult, static_cast<std::int32_t>(c.code));
        EXPECT_EQ(Calls(), (Strings{WithReply("status cdaudio current track", 512), ErrorText(c.code)}));
    }
}

TEST_F(MciChannel, QueryReturnsTheReplyUpToItsFirstNul) {
    const struct {
        std::string reply;
        Write write;
        std::wstring expected;
    } cases[] = {
        {"5", Write::Terminated, L"5"},
        {std::string(511, 'a'), Write::Terminated, std::wstring(511, L'a')},
        {std::string("abc\0def", 7), Write::Terminated, L"abc"},
        {"", Write::Terminated, L""},
        {"\x8B\xC8", Write::Terminated, L"曲"},
        // A device that fills all 512 bytes without a NUL: the text ends with the buffer.
        {"xy", Write::Unterminated, Repeat(L"xy", 256)},
    };
    for (const auto& c : cases) {
        log.Clear();
        mci.script.clear();
        Answer("info cdaudio product", 0, c.reply, c.write);
        EXPECT_EQ(bgm.MciQuery(L"info cdaudio product"), c.expected);
        EXPECT_EQ(gMciReply, c.expected);
        EXPECT_EQ(gApiResult, 0);
    }
}

TEST_F(MciChannel, UnterminatedReplyStopsAtTheBufferEvenWithTextBehindIt) {
    // First an error description, so the bytes after the reply buffer are not zero.
    mci.errorTexts[263] = std::string(200, 'e');
    Answer("status a mode", 263);
    bgm.MciQuery(L"status a mode");
    ASSERT_EQ(gMciReply, std::wstring(200, L'e'));
    Answer("status b mode", 0, "z", Write::Unterminated);
    EXPECT_EQ(bgm.MciQuery(L"status b mode"), std::wstring(512, L'z'));
}

TEST_F(MciChannel, ADeviceThatAnswersNothingDoesNotRepeatThePreviousReply) {
    Answer("status cdaudio mode", 0, "playing");
    Answer("play cdaudio", 0, "", Write::Nothing);
    EXPECT_EQ(bgm.MciQuery(L"status cdaudio mode"), L"playing");
    EXPECT_EQ(bgm.MciQuery(L"play cdaudio"), L"");
}

TEST_F(MciChannel, CommandsReachMciInTheAnsiCodePage) {
    std::wstring reply;
    bgm.SendMciCommand(L"open \"C:\\曲\\雨.mp3\" type MPEGVideo Alias MP3Play", reply);
    EXPECT_EQ(Calls(),
              Strings{WithReply("open \"C:\\\x8B\xC8\\\x89\x4A.mp3\" type MPEGVideo Alias MP3Play", 512)});
}

TEST_F(MciChannel, PlayBuildsItsFourForms) {
    const struct {
        const wchar_t* device;
        const wchar_t* from;
        const wchar_t* to;
        std::string command;
    } cases[] = {
        {L"cdaudio", L"", L"", "play cdaudio"},
        {L"cdaudio", L"03:00:00:00", L"", "play cdaudio from 03:00:00:00"},
        {L"cdaudio", L"", L"04:01:02:03", "play cdaudio to 04:01:02:03"},
        {L"MP3Play", L"0", L"1000", "play MP3Play from 0 to 1000"},
        {L"cdaudio", L"Error:282", L"", "play cdaudio from Error:282"},
    };
    for (const auto& c : cases) {
        log.Clear();
        mci.script.clear();
        Answer(c.command, 0, "done");
        EXPECT_EQ(bgm.MciPlay(c.device, c.from, c.to), 0);
        EXPECT_EQ(Calls(), Strings{WithReply(c.command, 512)});
        EXPECT_EQ(gMciReply, L"done");
    }
}

TEST_F(MciChannel, PlayReturnsTheResultAndRecordsTheErrorText) {
    mci.errorTexts[282] = "out of range";
    Answer("play cdaudio from Error:282", 282);
    EXPECT_EQ(bgm.MciPlay(L"cdaudio", L"Error:282", L""), 282);
    EXPECT_EQ(gApiResult, 282);
    EXPECT_EQ(gMciReply, L"out of range");
}

}  // namespace
}  // namespace pelluna::testing
