#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <span>
#include <string>
#include <string_view>

namespace tavrel {

// A fast 64-bit hash of a byte stream, eight bytes at a time, the same however the stream is cut
// into pieces. It tells a changed file from an unchanged one; nobody forges player files at us.
class ContentHash {
public:
    void Add(std::string_view bytes) {
        length_ += bytes.size();
        for (; !bytes.empty() && pending_ > 0; bytes.remove_prefix(1))
            Take(bytes.front());
        for (; bytes.size() >= 8; bytes.remove_prefix(8)) {
            std::uint64_t word;
            std::memcpy(&word, bytes.data(), 8);
            Mix(word);
        }
        for (const char c : bytes)
            Take(c);
    }
    void Add(std::span<const std::uint8_t> bytes) {
        Add(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    }
    std::string Hex() const {
        std::uint64_t h = (state_ ^ word_ ^ length_) * kPrime;
        h ^= h >> 33;
        h *= 0xFF51AFD7ED558CCDull;
        h ^= h >> 33;
        char text[17];
        std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(h));
        return text;
    }

private:
    static constexpr std::uint64_t kPrime = 0x100000001B3ull;
    void Take(char c) {
        word_ |= std::uint64_t(static_cast<unsigned char>(c)) << (8 * pending_);
        if (++pending_ == 8) {
            Mix(word_);
            word_ = 0;
            pending_ = 0;
        }
    }
    void Mix(std::uint64_t word) {
        state_ = (state_ ^ word) * kPrime;
        state_ ^= state_ >> 29;
    }
    std::uint64_t state_ = 0xCBF29CE484222325ull;
    std::uint64_t word_ = 0;
    std::uint64_t length_ = 0;
    int pending_ = 0;
};

} // namespace tavrel
