// The MCI command channel: one command string out, the reply or an error text back, the result recorded.
#include <algorithm>
#include <string>

#include "music/Pelluna_BGM.h"
#include "settings/SettingsValues.h"

namespace pelluna {
namespace {

// The text a buffer holds up to its first NUL; a device that fills it without one ends at its last byte.
template <std::size_t Size>
std::string_view TextIn(const std::array<char, Size>& buffer) {
    const auto end = std::find(buffer.begin(), buffer.end(), '\0');
    return std::string_view(buffer.data(), static_cast<std::size_t>(end - buffer.begin()));
}

}  // namespace

std::int32_t Pelluna_BGM::SendMciCommand(std::wstring_view command, std::wstring& reply) {
    if (command.empty()) {
        reply = L"コマンド文字列が指定されていません";
        return NoCommand;
    }
    const std::string ansi = text_.ToAnsi(command);
    // A device that accepts a command without answering must not hand back the previous reply.
    reply_[0] = '\0';
    const auto result = static_cast<std::int32_t>(
        mci_.mciSendStringA(ansi.c_str(), reply_.data(), static_cast<std::uint32_t>(reply_.size()), 0));
    gApiResult = result;
    if (result != 0) {
        errorText_[0] = '\0';
        if (mci_.mciGetErrorStringA(static_cast<std::uint32_t>(result), errorText_.data(),
                                    static_cast<std::uint32_t>(errorText_.size()))) {
            reply = text_.FromAnsi(TextIn(errorText_));
        } else {
            reply = L"Error (文字列が取れません)";
        }
        return result;
    }
    reply = text_.FromAnsi(TextIn(reply_));
    return 0;
}

std::wstring Pelluna_BGM::MciQuery(std::wstring_view command) {
    const std::int32_t result = SendMciCommand(command, gMciReply);
    gApiResult = result;
    if (result != 0) return L"Error:" + std::to_wstring(result);
    return gMciReply;
}

std::int32_t Pelluna_BGM::MciPlay(std::wstring_view device, std::wstring_view fromPos,
                                  std::wstring_view toPos) {
    std::wstring command = L"play ";
    command += device;
    if (!fromPos.empty()) {
        command += L" from ";
        command += fromPos;
    }
    if (!toPos.empty()) {
        command += L" to ";
        command += toPos;
    }
    return SendMciCommand(command, gMciReply);
}

std::uint32_t Pelluna_BGM::SendDirect(const std::string& ansiCommand) {
    return mci_.mciSendStringA(ansiCommand.c_str(), nullptr, 0, 0);
}

}  // namespace pelluna
