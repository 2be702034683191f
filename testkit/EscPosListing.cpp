#include "EscPosListing.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr std::uint8_t Esc = 0x1B;
constexpr std::uint8_t Gs = 0x1D;

enum class Paper { None, Feed, Cut };

struct Command {
    std::uint8_t Prefix;
    std::uint8_t Letter;
    int Parameters;
    const char* Meaning;
    Paper Effect;
};

const Command commands[] = {
    {Esc, '@', 0, "initialise printer", Paper::None},
    {Esc, '=', 1, "select peripheral", Paper::None},
    {Esc, 'a', 1, "justification (0 left, 1 centre, 2 right)", Paper::None},
    {Esc, '{', 1, "upside-down printing", Paper::None},
    {Esc, 't', 1, "character code table", Paper::None},
    {Esc, 'R', 1, "international character set", Paper::None},
    {Esc, '!', 1, "print mode (80 underline)", Paper::None},
    {Esc, '3', 1, "line spacing", Paper::None},
    {Esc, 'E', 1, "bold", Paper::None},
    {Esc, '-', 1, "underline", Paper::None},
    {Esc, 'J', 1, "print and feed (motion units)", Paper::Feed},
    {Esc, 'd', 1, "print and feed lines", Paper::Feed},
    {Gs, 'L', 2, "left margin", Paper::None},
    {Gs, '!', 1, "character size (width, height)", Paper::None},
    {Gs, 'V', 1, "cut paper (0 full, 1 partial)", Paper::Cut},
    {Gs, 'h', 1, "bar-code height", Paper::None},
    {Gs, 'H', 1, "bar-code text (1 above, 2 below)", Paper::None},
    {Gs, 'w', 1, "bar-code module width", Paper::None},
    {Gs, 'a', 1, "automatic status back", Paper::None},
};

const Command* Find(const std::vector<std::uint8_t>& bytes, std::size_t at)
{
    if (at + 1 >= bytes.size()) return nullptr;
    for (const Command& c : commands)
        if (bytes[at] == c.Prefix && bytes[at + 1] == c.Letter) return &c;
    return nullptr;
}

// GS k m n d1..dn: the length of a whole bar-code command at `at`, 0 when
// there is none (or it is cut short).
std::size_t BarCodeLength(const std::vector<std::uint8_t>& bytes, std::size_t at)
{
    if (at + 3 >= bytes.size() || bytes[at] != Gs || bytes[at + 1] != 'k') return 0;
    const std::size_t length = 4 + bytes[at + 3];
    return at + length <= bytes.size() ? length : 0;
}

bool IsText(std::uint8_t b) { return b != Esc && b != Gs && b != '\r' && b != '\n'; }

std::string Hex(const std::vector<std::uint8_t>& bytes, std::size_t at, std::size_t count)
{
    std::string hex;
    char pair[4];
    for (std::size_t i = 0; i < count; ++i) {
        std::snprintf(pair, sizeof pair, "%02X ", bytes[at + i]);
        hex += pair;
    }
    return hex;
}

std::string Quoted(const std::vector<std::uint8_t>& bytes, std::size_t at, std::size_t count)
{
    std::string text = "\"";
    char escaped[5];
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t b = bytes[at + i];
        if (b >= 0x20 && b < 0x7F && b != '"' && b != '\\') {
            text += static_cast<char>(b);
        } else {
            std::snprintf(escaped, sizeof escaped, "\\x%02X", b);
            text += escaped;
        }
    }
    return text + "\"";
}

void AddLine(std::string& out, std::size_t offset, const std::string& hex, const std::string& what)
{
    char head[16];
    std::snprintf(head, sizeof head, "%06zX  ", offset);
    out += head + hex + std::string(hex.size() < 48 ? 48 - hex.size() : 1, ' ') + what + "\n";
}

}  // namespace

std::string EscPosListing(const std::vector<std::uint8_t>& bytes)
{
    constexpr std::size_t textPerLine = 16;
    std::string out;
    std::size_t at = 0;
    while (at < bytes.size()) {
        if (const std::size_t length = BarCodeLength(bytes, at)) {
            AddLine(out, at, Hex(bytes, at, 4), "GS k " + std::to_string(bytes[at + 2]) + " " +
                                                     std::to_string(bytes[at + 3]) + "  bar code, data:");
            for (std::size_t done = 4; done < length; done += textPerLine) {
                const std::size_t count = std::min(textPerLine, length - done);
                AddLine(out, at + done, Hex(bytes, at + done, count), "  " + Quoted(bytes, at + done, count));
            }
            at += length;
        } else if (const Command* c = Find(bytes, at); c && at + 2 + c->Parameters <= bytes.size()) {
            const std::size_t length = 2 + c->Parameters;
            std::string name = (c->Prefix == Esc ? "ESC " : "GS ") + std::string(1, static_cast<char>(c->Letter));
            for (int p = 0; p < c->Parameters; ++p) name += " " + std::to_string(bytes[at + 2 + p]);
            AddLine(out, at, Hex(bytes, at, length), name + "  " + c->Meaning);
            at += length;
        } else if (bytes[at] == '\r' || bytes[at] == '\n') {
            AddLine(out, at, Hex(bytes, at, 1), bytes[at] == '\r' ? "CR" : "LF");
            ++at;
        } else if (!IsText(bytes[at])) {
            AddLine(out, at, Hex(bytes, at, 1), "(unknown command byte)");
            ++at;
        } else {
            std::size_t count = 0;
            while (at + count < bytes.size() && count < textPerLine && IsText(bytes[at + count])) ++count;
            AddLine(out, at, Hex(bytes, at, count), Quoted(bytes, at, count));
            at += count;
        }
    }
    return out;
}

std::vector<std::string> PaperLines(const std::vector<std::uint8_t>& bytes)
{
    std::vector<std::string> lines(1);
    std::size_t at = 0;
    while (at < bytes.size()) {
        if (const std::size_t length = BarCodeLength(bytes, at)) {
            // A bar code prints on a line of its own.
            if (!lines.back().empty()) lines.emplace_back();
            lines.back() = "||| ||| " + std::string(bytes.begin() + at + 4, bytes.begin() + at + length) + " ||| |||";
            lines.emplace_back();
            at += length;
        } else if (const Command* c = Find(bytes, at); c && at + 2 + c->Parameters <= bytes.size()) {
            const int parameter = c->Parameters ? bytes[at + 2] : 0;
            // ESC J 0 prints without feeding; ESC d n feeds n lines.
            if (c->Effect == Paper::Feed && (parameter > 0 || c->Letter == 'd')) {
                lines.emplace_back();
                for (int blank = 1; c->Letter == 'd' && blank < parameter; ++blank) lines.emplace_back();
            }
            if (c->Effect == Paper::Cut) {
                lines.back() += "-------- cut --------";
                lines.emplace_back();
            }
            at += 2 + c->Parameters;
        } else if (bytes[at] == '\n') {
            lines.emplace_back();
            ++at;
        } else {
            if (IsText(bytes[at])) lines.back() += static_cast<char>(bytes[at]);
            ++at;
        }
    }
    if (lines.back().empty()) lines.pop_back();
    return lines;
}
