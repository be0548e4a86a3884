#pragma once
// Hostile messages from the desk phone: valid requests mutated in seeded,
// repeatable ways, each with what the bridge may do with it.
#include <cstdint>
#include <string>

namespace fuzz {
// What may become of a message. A set: where the parser's own limits decide
// (nesting depth, document type declarations) more than one is allowed.
enum Outcome : unsigned {
    kAnswered = 1,  // a known command, carried out and answered
    kUnknown = 2,   // parsed, but no command it knows: never answered while idle
    kCancel = 4,    // parsed as a cancel request
    kUnparsed = 8,  // not a document: nothing happens at all
    kAnything = 16, // noise at a random place: only the answers' form is checked
};

struct PhoneCase {
    std::string body;          // as the messaging client hands it over
    unsigned outcomes = 0;     // Outcome bits
    std::wstring command;      // the request's command as the parser reads it
    std::wstring sequence;     // echoed in any answer
    std::wstring key;          // the meeting key echoed in any answer
    bool asks = false;         // a known command that asks the user first
    int dialogType = -1;       // the confirmation it asks with
    std::string mutations;     // the mutators applied, for reports
};

// Case `index` of the run seeded with `seed`: the same pair always gives the
// same case, so any case can be replayed alone.
// With `only`, that mutator is the one applied (to tell which class of input
// does what).
PhoneCase MakePhoneCase(uint64_t seed, uint64_t index, const std::string& only = {});
// A well-formed cancel request.
std::string CancelBody();
// The name a response to `command` carries: empty for commands it does not know.
std::wstring ResponseName(const std::wstring& command);

// A small repeatable generator (splitmix64).
struct Rng {
    uint64_t state;
    uint64_t Next() noexcept;
    size_t Below(size_t n) noexcept { return n ? static_cast<size_t>(Next() % n) : 0; }
    bool Chance(unsigned percent) noexcept { return Below(100) < percent; }
};
}  // namespace fuzz
