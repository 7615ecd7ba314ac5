// INI files: "Tovani.ini", "Hallfame.ini", "Favelay.ini", the language files and the winnable
// table are all read through IniFile. Any bytes parse; what is written reads back as written,
// and writing what was read is stable.
#include "FuzzCheck.h"
#include "core/IniFile.h"
#include "core/TextCodec.h"
#include "scores/HallOfFame.h"
#include "solitaire/WinnableShare.h"

#include <string>
#include <vector>

using namespace tovani;
using tovani::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes = fuzz::Bytes(data, size);
    IniFile ini;
    ini.Parse(bytes);
    // Each look-up walks its section: the first keys are enough, and keep the runs fast.
    for (const std::string& section : ini.SectionNames()) {
        const std::vector<std::string> keys = ini.KeysOf(section);
        for (size_t k = 0; k < keys.size() && k < 64; ++k) {
            const std::string& key = keys[k];
            (void)ini.ReadInteger(section, key, 0);
            Check(ini.ReadString(section, key, "").size() <= 4 * IniFile::kMaxValueChars,
                  "values are cut");
        }
    }

    // Writing what was read, then reading and writing again, gives the same bytes.
    const std::string once = ini.Serialize();
    IniFile reread;
    reread.Parse(once);
    Check(reread.Serialize() == once, "serialising what was read is stable");

    // A value written is the value read back, whatever it holds: blanks at its ends, quotes
    // around it (line breaks become blanks, and text that is not UTF-8 is read as
    // Windows-1252, so only UTF-8 values are compared).
    std::string value(bytes.substr(0, 200));
    for (char& c : value)
        if (c == '\r' || c == '\n')
            c = ' ';
    if (IsValidUtf8(value)) {
        IniFile fresh;
        fresh.WriteString("Tovani", "CurrentPlayer1", value);
        IniFile back;
        back.Parse(fresh.Serialize());
        Check(back.ReadString("Tovani", "CurrentPlayer1", "?") == value,
              "a written value reads back");
    }

    HallOfFame hall;
    hall.SetLayouts({"Traditional", "Big Hole", "Castle"});
    hall.Read(ini);
    IniFile out;
    hall.Write(out);
    HallOfFame again;
    again.SetLayouts({"Traditional", "Big Hole", "Castle"});
    again.Read(out);
    IniFile out2;
    again.Write(out2);
    Check(out.Serialize() == out2.Serialize(), "the hall of fame survives a round trip");

    std::string error;
    (void)WinnableTable::Parse(bytes, error);
    return 0;
}
