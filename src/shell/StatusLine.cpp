// The status-line animation.
#include "shell/StatusLine.h"

#include "shell/GameModes.h"

#include <algorithm>

namespace tovani {

std::u32string Utf8ToU32(const std::string& s) {
    std::u32string out;
    size_t i = 0;
    while (i < s.size()) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        char32_t cp = c;
        int extra = 0;
        if (c >= 0xF0) {
            cp = c & 0x07;
            extra = 3;
        } else if (c >= 0xE0) {
            cp = c & 0x0F;
            extra = 2;
        } else if (c >= 0xC0) {
            cp = c & 0x1F;
            extra = 1;
        }
        ++i;
        for (int k = 0; k < extra && i < s.size(); ++k, ++i)
            cp = (cp << 6) | (static_cast<unsigned char>(s[i]) & 0x3F);
        out.push_back(cp);
    }
    return out;
}

std::string U32ToUtf8(const std::u32string& s) {
    std::string out;
    for (char32_t cp : s) {
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

void StatusLine::ShowStatus(const std::string& utf8) {
    bouncing_ = false;
    text_ = Utf8ToU32(utf8);
    length_ = static_cast<int>(text_.size());
    reveal_ = length_;
}

std::string StatusLine::Text() const {
    return U32ToUtf8(text_);
}

std::optional<std::string> StatusLine::Tick(int gameMode, bool coolStatus) {
    auto from = [this](int pos) {
        size_t start = static_cast<size_t>(std::max(pos, 1) - 1);
        if (start >= text_.size())
            return std::string();
        return U32ToUtf8(text_.substr(start));
    };
    if (marquee_ && bouncing_) {
        if (gameMode < kModeSolitaire || gameMode > kModeRivers)
            return std::string();
        int next = reveal_ + step_;
        if (next < 1 || next >= length_)
            step_ = -step_;
        else
            reveal_ = next;
        reveal_ = std::max(reveal_, 1);
        return from(reveal_);
    }
    if (reveal_ > 1) {
        reveal_ = coolStatus ? std::max(reveal_ - 1, 1) : 1;
        std::string shown = from(reveal_);
        if (reveal_ == 1)
            text_.assign(1, U' '); // the field keeps the whole message; nothing more to reveal
        return shown;
    }
    return std::nullopt;
}

void StatusLine::StartMarquee(const std::string& translatedNoMoves) {
    ShowStatus("      " + translatedNoMoves);
    step_ = 1;
    marquee_ = true;
    bouncing_ = true;
}

void StatusLine::StopMarquee() {
    const bool onTheLine = marquee_ && bouncing_;
    marquee_ = false;
    bouncing_ = false;
    step_ = 0;
    if (onTheLine)
        ShowStatus("   ");
}

} // namespace tovani
