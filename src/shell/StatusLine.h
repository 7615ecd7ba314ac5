// The status-line message and its animation: a new message grows in from its last character,
// one character every 50 ms tick ("Cool Status"), or shows at once; the no-more-moves message
// bounces left and right while a Solitaire or Rivers game has no move left.
// Positions count characters (code points) from 1, as the field shows the text from the reveal
// position to its end.
#pragma once

#include <optional>
#include <string>

namespace tovani {

class StatusLine {
public:
    // Puts a message on the line: the next ticks reveal it. A message shown while there is no
    // move left takes the line from the bouncing one and stays still.
    void ShowStatus(const std::string& utf8);

    // One 50 ms tick. Answers the text the status field must show now, or nothing when the
    // field keeps what it shows.
    std::optional<std::string> Tick(int gameMode, bool coolStatus);

    // The bouncing "no more moves" message: six blanks, then the (translated) text.
    void StartMarquee(const std::string& translatedNoMoves);
    // A move is available again: the no-more-moves message leaves the line, blanking it when
    // it still shows there, so no piece of it stays behind.
    void StopMarquee();

    // No move is left and the player has been told (the message may have given way since).
    bool Marquee() const { return marquee_; }
    // The line shows the bouncing message.
    bool Bouncing() const { return marquee_ && bouncing_; }
    int MarqueeStep() const { return step_; }
    int RevealPosition() const { return reveal_; }
    int Length() const { return length_; }
    std::string Text() const;
    // Forgets the marquee (a new game starts).
    void Reset() { StopMarquee(); }

private:
    std::u32string text_;
    int length_ = 0;
    int reveal_ = 0;
    bool marquee_ = false;
    bool bouncing_ = false;
    int step_ = 0;
};

std::u32string Utf8ToU32(const std::string& s);
std::string U32ToUtf8(const std::u32string& s);

} // namespace tovani
