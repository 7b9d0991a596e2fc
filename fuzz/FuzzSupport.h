#pragma once

#include "WindowSystem.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

// Every fuzz target is a libFuzzer entry point. Built with clang and
// -fsanitize=fuzzer it is driven by libFuzzer; in the normal build the replay
// main runs every file of its corpus through it.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

// A broken invariant is a finding: it ends the run like a crash, with the
// condition named.
#define FUZZ_CHECK(condition)                                                                        \
    do {                                                                                             \
        if (!(condition)) {                                                                          \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);      \
            std::abort();                                                                            \
        }                                                                                            \
    } while (false)

// Takes an input apart: single bytes, numbers in a range, pieces of text.
// Reading past the end gives zeros and empty pieces.
class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool Empty() const { return position_ >= size_; }
    std::uint8_t Byte() { return Empty() ? 0 : data_[position_++]; }
    std::uint16_t Word() { return static_cast<std::uint16_t>(Byte() << 8 | Byte()); }
    // A number from first to last, both included.
    int Between(int first, int last) { return first + static_cast<int>(Word() % (last - first + 1)); }
    std::string_view Take(std::size_t count)
    {
        const std::size_t left = Empty() ? 0 : size_ - position_;
        const std::size_t taken = count < left ? count : left;
        const std::string_view piece(reinterpret_cast<const char*>(data_ + position_), taken);
        position_ += taken;
        return piece;
    }
    std::string_view Rest() { return Take(SIZE_MAX); }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

// The window system of a fuzz run: messages are dropped, questions answered
// from the given bits (Yes for a 1, in turn), file dialogs answered with fixed
// paths. The progress bar must only ever be moved within 0..100.
class FuzzWindowSystem : public WindowSystem {
public:
    void ShowMessage(const std::string&, const std::string&, MessageIcon) override {}
    bool AskYesNo(const std::string&, const std::string&, MessageIcon) override
    {
        const bool yes = (Answers & 1u) != 0;
        Answers = Answers >> 1 | (Answers & 1u) << 31;
        return yes;
    }
    std::optional<std::string> ChooseFileToOpen(const FileDialogRequest&) override { return FileToOpen; }
    std::optional<std::string> ChooseFileToSave(const FileDialogRequest&) override { return FileToSave; }
    void SetStatusText(const std::string&) override {}
    void SetProgress(int percent) override { FUZZ_CHECK(percent >= 0 && percent <= 100); }

    std::uint32_t Answers = 0;
    std::optional<std::string> FileToOpen;
    std::optional<std::string> FileToSave;
};

inline std::string TextOf(const std::uint8_t* data, std::size_t size)
{
    return std::string(reinterpret_cast<const char*>(data), size);
}
