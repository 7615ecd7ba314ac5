// The GNOME Mahjongg ".map" reader: a small reader of the XML the format uses (elements with
// attributes, comments, the declaration), and the maps built from its tile, row, column and
// block elements.
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <map>

#include "core/TextCodec.h"
#include "solitaire/LayoutImport.h"

namespace tovani {

namespace {

// More tiles than any board; a file naming more is refused without building them all.
constexpr int kMaxTilesRead = 10000;

struct Tag {
    std::string name;
    std::map<std::string, std::string> attributes;
    bool closing = false;     // </name>
    bool selfClosing = false; // <name ... />
    int line = 0;
};

class XmlReader {
public:
    explicit XmlReader(std::string_view text) : text_(text) {}

    // The next start or end tag; false at the end of the text or on an error (see error()).
    bool Next(Tag& tag) {
        while (true) {
            size_t lt = text_.find('<', pos_);
            if (lt == std::string_view::npos) {
                Advance(text_.size());
                return false;
            }
            Advance(lt);
            if (Starts("<!--")) {
                if (!SkipPast("-->"))
                    return Error("a comment is not closed");
                continue;
            }
            if (Starts("<?")) {
                if (!SkipPast("?>"))
                    return Error("a declaration is not closed");
                continue;
            }
            if (Starts("<![CDATA[")) {
                if (!SkipPast("]]>"))
                    return Error("a CDATA section is not closed");
                continue;
            }
            if (Starts("<!")) {
                if (!SkipPast(">"))
                    return Error("a document type is not closed");
                continue;
            }
            return ReadTag(tag);
        }
    }

    const std::string& error() const { return error_; }
    int line() const { return line_; }

private:
    bool Starts(std::string_view s) const { return text_.substr(pos_, s.size()) == s; }
    void Advance(size_t to) {
        for (; pos_ < to && pos_ < text_.size(); ++pos_)
            if (text_[pos_] == '\n')
                ++line_;
    }
    bool SkipPast(std::string_view end) {
        size_t at = text_.find(end, pos_);
        if (at == std::string_view::npos)
            return false;
        Advance(at + end.size());
        return true;
    }
    bool Error(const std::string& what) {
        error_ = what;
        return false;
    }
    static bool NameChar(char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == ':' ||
               c == '.' || static_cast<unsigned char>(c) >= 0x80;
    }
    void SkipSpace() {
        while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_])))
            Advance(pos_ + 1);
    }
    std::string ReadName() {
        size_t start = pos_;
        while (pos_ < text_.size() && NameChar(text_[pos_]))
            ++pos_;
        return std::string(text_.substr(start, pos_ - start));
    }
    // Replaces the five named entities and numeric references; false on an unknown one.
    static bool Unescape(std::string_view raw, std::string& out) {
        out.clear();
        for (size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] != '&') {
                out += raw[i];
                continue;
            }
            size_t semi = raw.find(';', i);
            if (semi == std::string_view::npos)
                return false;
            std::string_view ent = raw.substr(i + 1, semi - i - 1);
            if (ent == "amp")
                out += '&';
            else if (ent == "lt")
                out += '<';
            else if (ent == "gt")
                out += '>';
            else if (ent == "quot")
                out += '"';
            else if (ent == "apos")
                out += '\'';
            else if (ent.size() > 1 && ent[0] == '#') {
                const bool hex = ent[1] == 'x' || ent[1] == 'X';
                const std::string digits(ent.substr(hex ? 2 : 1));
                char* end = nullptr;
                long cp = std::strtol(digits.c_str(), &end, hex ? 16 : 10);
                if (digits.empty() || *end != '\0' || cp <= 0 || cp > 0x10FFFF ||
                    (cp >= 0xD800 && cp <= 0xDFFF))
                    return false;
                AppendUtf8(out, static_cast<uint32_t>(cp));
            } else {
                return false;
            }
            i = semi;
        }
        return true;
    }
    bool ReadTag(Tag& tag) {
        tag = Tag{};
        tag.line = line_;
        ++pos_; // '<'
        if (pos_ < text_.size() && text_[pos_] == '/') {
            tag.closing = true;
            ++pos_;
        }
        tag.name = ReadName();
        if (tag.name.empty())
            return Error("a tag has no name");
        while (true) {
            SkipSpace();
            if (pos_ >= text_.size())
                return Error("the tag <" + tag.name + "> is not closed");
            if (text_[pos_] == '>') {
                ++pos_;
                return true;
            }
            if (Starts("/>") && !tag.closing) {
                tag.selfClosing = true;
                pos_ += 2;
                return true;
            }
            if (tag.closing)
                return Error("the end tag </" + tag.name + "> is malformed");
            std::string name = ReadName();
            if (name.empty())
                return Error("the tag <" + tag.name + "> is malformed");
            SkipSpace();
            if (pos_ >= text_.size() || text_[pos_] != '=')
                return Error("the attribute " + name + " has no value");
            ++pos_;
            SkipSpace();
            if (pos_ >= text_.size() || (text_[pos_] != '"' && text_[pos_] != '\''))
                return Error("the value of " + name + " is not quoted");
            const char quote = text_[pos_++];
            size_t close = text_.find(quote, pos_);
            if (close == std::string_view::npos)
                return Error("the value of " + name + " is not closed");
            std::string value;
            if (!Unescape(text_.substr(pos_, close - pos_), value))
                return Error("the value of " + name + " holds an unknown entity");
            Advance(close + 1);
            tag.attributes[name] = value;
        }
    }

    std::string_view text_;
    size_t pos_ = 0;
    int line_ = 1;
    std::string error_;
};

ImportError Fail(ImportErrorCode code, int line, std::string detail = {}) {
    ImportError e;
    e.code = code;
    e.line = line;
    e.detail = std::move(detail);
    return e;
}

// A coordinate in whole tiles, on a whole or half tile, as a count of half tiles.
std::optional<int> HalfTiles(const std::string& text) {
    const std::string t(Trim(text));
    char* end = nullptr;
    double v = std::strtod(t.c_str(), &end);
    if (t.empty() || *end != '\0' || !std::isfinite(v) || std::fabs(v) > 1000)
        return std::nullopt;
    double halves = v * 2;
    if (std::fabs(halves - std::round(halves)) > 1e-6)
        return std::nullopt;
    return static_cast<int>(std::lround(halves));
}

// A layer number: a whole number from 0.
std::optional<int> LayerNumber(const std::string& text) {
    auto h = HalfTiles(text);
    if (!h || *h < 0 || *h % 2 != 0)
        return std::nullopt;
    return *h / 2;
}

} // namespace

ImportResult<std::vector<ImportMap>> ParseMahjonggMaps(std::string_view bytes) {
    XmlReader xml(bytes);
    std::vector<ImportMap> maps;
    std::vector<std::string> open; // the elements open around the reader
    std::optional<int> layerZ;     // the z of the <layer> being read
    bool inMap = false;
    int tilesRead = 0;
    Tag tag;
    while (xml.Next(tag)) {
        if (tag.closing) {
            if (open.empty() || open.back() != tag.name)
                return Fail(ImportErrorCode::BadXml, tag.line,
                            "</" + tag.name + "> closes no open element");
            open.pop_back();
            if (tag.name == "map")
                inMap = false;
            else if (tag.name == "layer")
                layerZ.reset();
            continue;
        }
        auto attr = [&](const char* name) -> const std::string* {
            auto it = tag.attributes.find(name);
            return it == tag.attributes.end() ? nullptr : &it->second;
        };
        auto half = [&](const char* name, int& out) -> std::optional<ImportError> {
            const std::string* v = attr(name);
            std::optional<int> h = v ? HalfTiles(*v) : std::nullopt;
            if (!h)
                return Fail(ImportErrorCode::BadCoordinate, tag.line,
                            "<" + tag.name + "> " + name + "=\"" + (v ? *v : std::string()) + "\"");
            out = *h;
            return std::nullopt;
        };
        if (tag.name == "map") {
            if (inMap)
                return Fail(ImportErrorCode::BadXml, tag.line, "a <map> inside a <map>");
            ImportMap m;
            if (const std::string* name = attr("name"))
                m.name = *name;
            maps.push_back(std::move(m));
            inMap = !tag.selfClosing;
        } else if (inMap && tag.name == "layer") {
            const std::string* z = attr("z");
            layerZ = z ? LayerNumber(*z) : std::optional<int>(0);
            if (!layerZ)
                return Fail(ImportErrorCode::BadCoordinate, tag.line, "<layer> z=\"" + *z + "\"");
            if (tag.selfClosing)
                layerZ.reset();
        } else if (inMap && (tag.name == "tile" || tag.name == "row" || tag.name == "column" ||
                             tag.name == "block")) {
            int z = layerZ.value_or(0);
            const std::string* zText = attr("z") ? attr("z") : attr("layer");
            if (zText) {
                auto own = LayerNumber(*zText);
                if (!own)
                    return Fail(ImportErrorCode::BadCoordinate, tag.line,
                                "<" + tag.name + "> z=\"" + *zText + "\"");
                z = *own;
            }
            int left = 0, right = 0, top = 0, bottom = 0;
            std::optional<ImportError> bad;
            if (tag.name == "tile") {
                bad = half("x", left);
                if (!bad)
                    bad = half("y", top);
                right = left;
                bottom = top;
            } else if (tag.name == "row") {
                bad = half("left", left);
                if (!bad)
                    bad = half("right", right);
                if (!bad)
                    bad = half("y", top);
                bottom = top;
            } else if (tag.name == "column") {
                bad = half("x", left);
                if (!bad)
                    bad = half("top", top);
                if (!bad)
                    bad = half("bottom", bottom);
                right = left;
            } else {
                bad = half("left", left);
                if (!bad)
                    bad = half("right", right);
                if (!bad)
                    bad = half("top", top);
                if (!bad)
                    bad = half("bottom", bottom);
            }
            if (bad)
                return *bad;
            // A row, column or block steps one tile (two half tiles) from its first corner.
            for (int y = top; y <= bottom; y += 2) {
                for (int x = left; x <= right; x += 2) {
                    if (++tilesRead > kMaxTilesRead) {
                        ImportError e = Fail(ImportErrorCode::TooManyTiles, tag.line);
                        e.count = tilesRead;
                        e.map = maps.back().name;
                        return e;
                    }
                    maps.back().places.push_back({x, y, z});
                }
            }
        }
        if (!tag.selfClosing)
            open.push_back(tag.name);
    }
    if (!xml.error().empty())
        return Fail(ImportErrorCode::BadXml, xml.line(), xml.error());
    if (!open.empty())
        return Fail(ImportErrorCode::BadXml, xml.line(), "<" + open.back() + "> is not closed");
    if (maps.empty())
        return Fail(ImportErrorCode::NoMaps, 0);
    return maps;
}

} // namespace tovani
