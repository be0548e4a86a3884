#include "PhoneMessages.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "UrlCodec.h"

namespace fuzz {
uint64_t Rng::Next() noexcept {
    uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

namespace {
struct Known {
    const wchar_t* name;
    int dialog;
    bool callback;
};
constexpr Known kKnown[] = {{L"InstantMeeting", 0, false},      {L"StartMeeting", 1, false},
                            {L"JoinMeeting", 2, false},         {L"StartMeetingCallBack", 3, true},
                            {L"JoinMeetingCallBack", 4, true}};
constexpr const wchar_t* kCancelName = L"CancelQKDialog";

const Known* FindKnown(const std::wstring& command) {
    for (const Known& known : kKnown)
        if (command == known.name) return &known;
    return nullptr;
}

struct Field {
    std::wstring name, raw, text;  // raw: the element's XML content; text: what a parser reads from it
    bool asks = false;             // a head count that asks the user first
    bool selfClosing = false;
    bool breaks = false;           // the content is never well-formed
    bool mayBreak = false;         // a parser's own limits decide
};

// New content: what the old content did to the document goes with it.
void Set(Field& field, const std::wstring& raw, const std::wstring& text) {
    field.raw = raw;
    field.text = text;
    field.asks = field.breaks = field.mayBreak = false;
}
void Set(Field& field, const std::wstring& value) { Set(field, value, value); }
using Fields = std::vector<Field>;

Field Plain(const wchar_t* name, const std::wstring& value, bool asks = false) {
    return {name, value, value, asks, false, false, false};
}

template <class T, size_t N>
const T& Pick(Rng& rng, const T (&items)[N]) {
    return items[rng.Below(N)];
}

// A request on its way to becoming hostile.
struct Draft {
    Fields top;                  // the root's children besides Param
    std::vector<Fields> params;  // Param elements in document order
    size_t paramAt = 0;          // the Param elements come before top[paramAt]
    std::wstring decl, doctype, wrapOpen, wrapClose, after;
    bool breaks = false, mayBreak = false, anything = false;
    std::vector<std::string> wire;  // raw wire text for placeholder U+E000 + index
    std::vector<void (*)(std::string&, Rng&)> onWire;

    // The first element of that name: the root's children, then each Param's.
    Field* Find(const std::wstring& name) {
        for (Field& f : top)
            if (f.name == name) return &f;
        for (Fields& block : params)
            for (Field& f : block)
                if (f.name == name) return &f;
        return nullptr;
    }
    // That parameter of the first Param, added when absent.
    Field& InParam(const wchar_t* name, const wchar_t* value) {
        if (params.empty()) params.emplace_back();
        for (Field& f : params[0])
            if (f.name == name) return f;
        params[0].push_back(Plain(name, value));
        return params[0].back();
    }
    // A parameter no decision and no answer depends on.
    Field& FreeField(Rng& rng) {
        static constexpr const wchar_t* kFree[] = {L"MeetingTopic", L"SiteUrl", L"Password", L"PhoneNumber",
                                                   L"TelAttndeeID"};
        return InParam(Pick(rng, kFree), L"x");
    }
    // Any field of the request, Param's first block included.
    Field& AnyField(Rng& rng) {
        if (params.empty()) params.emplace_back();
        const size_t all = top.size() + params[0].size();
        if (all == 0) {
            top.push_back(Plain(L"Command", L""));
            return top.back();
        }
        const size_t at = rng.Below(all);
        return at < top.size() ? top[at] : params[0][at - top.size()];
    }
    void Placeholder(Field& field, std::string wireText) {
        field.raw += static_cast<wchar_t>(0xE000 + wire.size());
        wire.push_back(std::move(wireText));
    }
};

std::wstring Digits(Rng& rng, size_t count) {
    std::wstring text;
    for (size_t i = 0; i < count; ++i) text += static_cast<wchar_t>(L'0' + rng.Below(10));
    return text;
}

std::wstring Repeat(const std::wstring& piece, size_t count) {
    std::wstring text;
    text.reserve(piece.size() * count);
    for (size_t i = 0; i < count; ++i) text += piece;
    return text;
}

struct Count {
    const wchar_t* text;
    bool asks;
};

Draft Base(Rng& rng) {
    Draft d;
    const wchar_t* command = rng.Chance(8) ? kCancelName : kKnown[rng.Below(std::size(kKnown))].name;
    d.top = {Plain(L"Command", command), Plain(L"Sequence", Digits(rng, 1 + rng.Below(10))),
             Plain(L"HostType", Digits(rng, 1))};
    d.paramAt = d.top.size();
    Fields param;
    static constexpr Count kCounts[] = {{L"0", false}, {L"1", false}, {L"1", false}, {L"2", true}, {L"3", true}};
    if (rng.Chance(85)) {
        const Count& count = Pick(rng, kCounts);
        param.push_back(Plain(L"HeadCount", count.text, count.asks));
    }
    if (rng.Chance(90)) param.push_back(Plain(L"MeetingKey", Digits(rng, 9)));
    static constexpr const wchar_t* kTopics[] = {L"Weekly+sync", L"Caf%C3%A9+review", L"%E4%BC%9A%E8%AE%AE", L"Plan"};
    if (rng.Chance(70)) param.push_back(Plain(L"MeetingTopic", Pick(rng, kTopics)));
    if (rng.Chance(50)) param.push_back(Plain(L"SiteUrl", L"https%3A%2F%2Facme.example.com%2Facme"));
    if (rng.Chance(50)) param.push_back(Plain(L"Password", L"p%40ss+word"));
    if (rng.Chance(60)) param.push_back(Plain(L"PhoneNumber", L"5550100"));
    if (rng.Chance(50)) param.push_back(Plain(L"TelAttndeeID", L"77"));
    d.params.push_back(std::move(param));
    return d;
}

// ---------------------------------------------------------------- mutators
// Each changes the draft and says what that does to the outcome.

void Truncated(Draft& d, Rng&) {
    // The root is never closed: nothing may come of it.
    d.breaks = true;
    d.onWire.push_back([](std::string& body, Rng& rng) { body.resize(rng.Below(body.size())); });
}

constexpr const char* kBadEscapes[] = {"%", "%4", "%zz", "%%", "%G1", "%-1", "%e2%82", "%f0%9f", "%ed%a0%80", "%c0%af"};

void BadEscapes(Draft& d, Rng& rng) {
    switch (rng.Below(3)) {
    case 0: {
        static constexpr const wchar_t* kInValue[] = {L"%", L"%4", L"%zz", L"%%41"};
        Set(d.FreeField(rng), Pick(rng, kInValue));
        break;
    }
    case 1: d.Placeholder(d.FreeField(rng), Pick(rng, kBadEscapes)); break;
    default:
        d.breaks = true;  // text after the root element
        d.onWire.push_back([](std::string& body, Rng& r) { body += Pick(r, kBadEscapes); });
    }
}

void InvalidUtf8(Draft& d, Rng& rng) {
    if (rng.Chance(50)) {
        static constexpr const char* kBytes[] = {"\xC3\x28", "\xFF", "\xFE\xFF", "\xED\xA0\x80", "\xC0\xAF",
                                                 "\xF4\x90\x80\x80", "\x80", "\xE2\x82"};
        d.Placeholder(d.FreeField(rng), Pick(rng, kBytes));
    } else {
        static constexpr const wchar_t* kEscapes[] = {L"%C3%28", L"%FF%FE", L"%ED%A0%80",
                                                      L"%C0%AF", L"%E2%82", L"%F4%90%80%80"};
        Set(d.FreeField(rng), Pick(rng, kEscapes));
    }
}

// 300 bytes to 1 MB in a field an answer echoes, or nothing at all.
void HugeOrEmpty(Draft& d, Rng& rng) {
    if (rng.Chance(50)) {
        Field& field = d.AnyField(rng);
        Set(field, L"");
        field.selfClosing = rng.Chance(50);
        return;
    }
    static constexpr size_t kSizes[] = {300, 300, 4096, 4096, 65536, 262144};
    const size_t size = rng.Chance(2) ? size_t{1} << 20 : Pick(rng, kSizes);
    static constexpr const wchar_t* kTargets[] = {L"Sequence", L"MeetingKey", L"HostType", L""};
    Field* field = d.Find(Pick(rng, kTargets));
    if (!field) field = &d.FreeField(rng);
    Set(*field, Repeat(rng.Chance(50) ? L"0123456789" : L"Zz9-", size / 4 + 1).substr(0, size));
}

void MissingOrRepeated(Draft& d, Rng& rng) {
    if (rng.Chance(10)) {
        d.params.clear();
    } else if (rng.Chance(40)) {
        const std::wstring name = d.AnyField(rng).name;
        std::erase_if(d.top, [&](const Field& f) { return f.name == name; });
        for (Fields& block : d.params) std::erase_if(block, [&](const Field& f) { return f.name == name; });
        d.paramAt = std::min(d.paramAt, d.top.size());
    } else if (rng.Chance(33) && !d.top.empty()) {
        // The first of two wins wherever it is read.
        Field copy = d.top[rng.Below(d.top.size())];
        Set(copy, copy.name == L"Command" ? L"JoinMeetingCallBack" : L"7");
        d.top.push_back(copy);
    } else if (rng.Chance(50) && !d.params.empty()) {
        Fields copy = d.params[0];
        for (Field& f : copy) Set(f, f.name == L"HeadCount" ? L"5" : L"999");
        d.params.push_back(copy);
    } else {
        d.after += L"<ZvnXmppReq/>";  // two roots
        d.breaks = true;
    }
}

void DeepNesting(Draft& d, Rng& rng) {
    static constexpr size_t kDepths[] = {10, 200, 1000, 5000, 50000};
    const size_t depth = 1 + rng.Below(Pick(rng, kDepths));
    // Parsers have depth limits of their own: refusing the document is allowed.
    Field* field = rng.Chance(33) ? d.Find(L"Command") : rng.Chance(50) ? &d.FreeField(rng) : nullptr;
    if (!field) {
        d.mayBreak = true;
        d.wrapOpen = Repeat(L"<n>", depth);
        d.wrapClose = Repeat(L"</n>", depth);
        return;
    }
    // An element's text is all the text inside it.
    field->raw = Repeat(L"<a>", depth) + field->raw + Repeat(L"</a>", depth);
    field->mayBreak = true;
}

// Entities, character references, CDATA, comments and what may stand before the root.
void EntityTricks(Draft& d, Rng& rng) {
    Field* sequence = d.Find(L"Sequence");
    if (!sequence) {
        d.top.push_back(Plain(L"Sequence", L""));
        sequence = &d.top.back();
    }
    Field* command = d.Find(L"Command");
    Field& free = d.FreeField(rng);
    const bool plainCommand = command && command->raw.size() > 2 && command->raw[0] != L'<';
    switch (rng.Below(10)) {
    case 0:
        if (plainCommand) command->raw = L"&#" + std::to_wstring(command->raw[0]) + L";" + command->raw.substr(1);
        break;
    case 1: Set(*sequence, L"&lt;&amp;&gt;&quot;&apos;", L"<&>\"'"); break;
    case 2: Set(*sequence, L"<![CDATA[<x&y>]]>", L"<x&y>"); break;
    case 3:
        if (plainCommand) command->raw = command->raw.substr(0, 2) + L"<!--x-->" + command->raw.substr(2);
        break;
    case 4: Set(*sequence, L"&#x1F600;", L"\U0001F600"); break;
    case 5: {
        static constexpr const wchar_t* kBroken[] = {L"&nope;", L"&#0;", L"&#xD800;", L"&#xFFFE;", L"&;"};
        free.raw = Pick(rng, kBroken);
        free.breaks = true;
        break;
    }
    case 6:
        d.doctype = L"<!DOCTYPE ZvnXmppReq [<!ENTITY s \"abc\">]>";
        Set(*sequence, L"&s;", L"abc");
        d.mayBreak = true;
        break;
    case 7: {
        // Ten levels of ten: 10^10 characters for a parser that expands them.
        std::wstring entities = L"<!ENTITY e0 \"lol\">";
        for (int level = 1; level <= 10; ++level)
            entities += L"<!ENTITY e" + std::to_wstring(level) + L" \"" +
                        Repeat(L"&e" + std::to_wstring(level - 1) + L";", 10) + L"\">";
        d.doctype = L"<!DOCTYPE ZvnXmppReq [" + entities + L"]>";
        free.raw = L"&e10;";
        d.mayBreak = true;
        break;
    }
    default: {
        static constexpr const wchar_t* kFine[] = {L"<?xml version=\"1.0\"?>", L"<!-- from the phone -->",
                                                   L"<?phone x?>"};
        // Encodings, a byte-order mark, a space first, another version: the parser decides.
        static constexpr const wchar_t* kDoubtful[] = {
            L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>", L"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>",
            L"\uFEFF", L" <?xml version=\"1.0\"?>", L"<?xml version=\"2.0\"?>"};
        const bool doubtful = rng.Chance(60);
        d.decl = doubtful ? Pick(rng, kDoubtful) : Pick(rng, kFine);
        d.mayBreak = d.mayBreak || doubtful;
    }
    }
}

// Head counts and host types that are no plain numbers; sequences, which are
// only echoed, out of any number's range.
void WrongNumbers(Draft& d, Rng& rng) {
    if (rng.Chance(40)) {
        static constexpr const wchar_t* kSequences[] = {
            L"-1", L"0", L"4294967296", L"18446744073709551616", L"-9223372036854775809", L"1e309", L"NaN",
            L" 7 ", L"0x7FFFFFFF", L"\u00e9\u4f1a", L"\t\r\n"};
        Field* sequence = d.Find(L"Sequence");
        if (!sequence) return;
        Set(*sequence, Pick(rng, kSequences));
        // A parser reads a line break in text as a line feed.
        if (sequence->text == L"\t\r\n") sequence->text = L"\t\n";
        return;
    }
    // Decimal text compared as unsigned: a negative or clamped count asks.
    static constexpr Count kCounts[] = {
        {L"-1", true},          {L"-0", false},         {L"+1", false},   {L"abc", false},
        {L"0x10", false},       {L"1e3", false},        {L"1.9", false},  {L"4294967297", true},
        {L"99999999999999999999", true}, {L"-99999999999999999999", true}, {L"\u0663", false},
        {L"", false},           {L"2147483648", true},  {L"-2147483649", true}};
    const Count& count = Pick(rng, kCounts);
    Field& field = d.InParam(L"HeadCount", L"1");
    Set(field, count.text);
    field.asks = count.asks;
    static constexpr const wchar_t* kHostTypes[] = {L"-1", L"99999999999999999999", L"x", L""};
    if (Field* host = d.Find(L"HostType")) Set(*host, Pick(rng, kHostTypes));
}

std::string Noise(Rng& rng, size_t count) {
    std::string bytes;
    for (size_t i = 0; i < count; ++i) bytes += static_cast<char>(1 + rng.Below(255));
    return bytes;
}

void BinaryNoise(Draft& d, Rng& rng) {
    switch (rng.Below(3)) {
    case 0:
        d.breaks = true;
        d.onWire.push_back([](std::string& body, Rng& r) { body = Noise(r, r.Below(4096)); });
        break;
    case 1: {
        Field& field = d.FreeField(rng);
        d.Placeholder(field, Noise(rng, 1 + rng.Below(64)));
        field.mayBreak = true;
        break;
    }
    default:
        d.anything = true;
        d.onWire.push_back([](std::string& body, Rng& r) { body.insert(r.Below(body.size() + 1), Noise(r, 1 + r.Below(16))); });
    }
}

void WrongCommand(Draft& d, Rng& rng) {
    static constexpr const wchar_t* kNames[] = {
        L"instantmeeting", L"INSTANTMEETING", L" InstantMeeting", L"InstantMeeting ", L"InstantMeetingResponse",
        L"Start Meeting",  L"Reboot",         L"\uFF29nstantMeeting", L"cancelqkdialog", L"CANCELQKDIALOG",
        L"CancelQKDialog ", L"JoinMeetingCallback"};
    Field* command = d.Find(L"Command");
    if (!command) {
        d.top.insert(d.top.begin(), Plain(L"Command", L""));
        d.paramAt = std::min(d.paramAt + 1, d.top.size());
        command = &d.top.front();
    }
    Set(*command, Pick(rng, kNames));
}

const struct Mutator {
    const char* name;
    unsigned weight;
    void (*apply)(Draft&, Rng&);
} kMutators[] = {
    {"truncated", 8, Truncated},          {"bad escapes", 10, BadEscapes},
    {"invalid UTF-8", 10, InvalidUtf8},   {"huge or empty field", 10, HugeOrEmpty},
    {"missing or repeated element", 14, MissingOrRepeated},
    {"deep nesting", 4, DeepNesting},     {"entity tricks", 10, EntityTricks},
    {"wrong numbers", 13, WrongNumbers},  {"binary noise", 8, BinaryNoise},
    {"wrong command", 6, WrongCommand},
};

const Mutator& PickMutator(Rng& rng) {
    unsigned total = 0;
    for (const Mutator& m : kMutators) total += m.weight;
    unsigned at = static_cast<unsigned>(rng.Below(total));
    for (const Mutator& m : kMutators) {
        if (at < m.weight) return m;
        at -= m.weight;
    }
    return kMutators[0];
}

std::wstring Render(const Field& field) {
    if (field.selfClosing && field.raw.empty()) return L"<" + field.name + L"/>";
    return L"<" + field.name + L">" + field.raw + L"</" + field.name + L">";
}

std::wstring Render(const Draft& d) {
    std::wstring xml = d.decl + d.doctype + d.wrapOpen + L"<ZvnXmppReq>";
    for (size_t i = 0; i <= d.top.size(); ++i) {
        if (i == d.paramAt)
            for (const Fields& block : d.params) {
                xml += L"<Param>";
                for (const Field& f : block) xml += Render(f);
                xml += L"</Param>";
            }
        if (i < d.top.size()) xml += Render(d.top[i]);
    }
    return xml + L"</ZvnXmppReq>" + d.wrapClose + d.after;
}

std::string Encode(const Draft& d, Rng& rng) {
    std::string body = IPPhone::EncodeMessageBody(Render(d).c_str());
    for (size_t i = 0; i < d.wire.size(); ++i) {
        // U+E000 + i in UTF-8, percent-encoded: EE 80 80+i.
        char mark[16];
        std::snprintf(mark, sizeof(mark), "%%ee%%%02x%%%02x", 0x80 + static_cast<int>(i >> 6),
                      0x80 + static_cast<int>(i & 0x3F));
        const size_t at = body.find(mark);
        if (at != std::string::npos) body.replace(at, std::strlen(mark), d.wire[i]);
    }
    for (const auto& change : d.onWire) change(body, rng);
    return body;
}
}  // namespace

std::wstring ResponseName(const std::wstring& command) {
    return FindKnown(command) ? command + L"Response" : std::wstring();
}

std::string CancelBody() {
    return IPPhone::EncodeMessageBody(
        L"<ZvnXmppReq><Command>CancelQKDialog</Command><Sequence>cancel</Sequence></ZvnXmppReq>");
}

PhoneCase MakePhoneCase(uint64_t seed, uint64_t index, const std::string& only) {
    Rng rng{seed ^ (index * 0xD1B54A32D192ED03ull)};
    rng.Next();
    Draft d = Base(rng);
    PhoneCase c;
    const size_t count = rng.Chance(10) ? 0 : rng.Chance(70) ? 1 : 2 + rng.Below(2);
    std::vector<const Mutator*> used;
    for (size_t i = 0; i < count; ++i) {
        // Each at most once: a second document type declaration, say, would
        // undo what the first one's entity references rely on.
        const Mutator* m = &PickMutator(rng);
        while (std::find(used.begin(), used.end(), m) != used.end()) m = &PickMutator(rng);
        for (const Mutator& named : kMutators)
            if (only == named.name) m = &named;
        if (std::find(used.begin(), used.end(), m) != used.end()) break;
        used.push_back(m);
        m->apply(d, rng);
        c.mutations += (c.mutations.empty() ? "" : "+") + std::string(m->name);
    }
    if (c.mutations.empty()) c.mutations = "valid";
    c.body = Encode(d, rng);

    const Field* command = d.Find(L"Command");
    c.command = command ? command->text : L"";
    const Field* sequence = d.Find(L"Sequence");
    c.sequence = sequence ? sequence->text : L"";
    const Field* key = d.Find(L"MeetingKey");
    c.key = key ? key->text : L"";
    unsigned outcome = kUnknown;
    if (const Known* known = FindKnown(c.command)) {
        outcome = kAnswered;
        const Field* heads = d.Find(L"HeadCount");
        c.asks = known->callback || (heads && heads->asks);
        c.dialogType = known->dialog;
    } else if (::CompareStringOrdinal(c.command.c_str(), -1, kCancelName, -1, TRUE) == CSTR_EQUAL) {
        outcome = kCancel;
    }
    std::vector<const Fields*> all{&d.top};
    for (const Fields& block : d.params) all.push_back(&block);
    for (const Fields* fields : all)
        for (const Field& f : *fields) d.breaks = d.breaks || f.breaks, d.mayBreak = d.mayBreak || f.mayBreak;
    c.outcomes = d.anything ? unsigned{kAnything} : d.breaks ? unsigned{kUnparsed} : outcome | (d.mayBreak ? unsigned{kUnparsed} : 0u);
    return c;
}
}  // namespace fuzz
