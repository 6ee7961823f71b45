#include "ContentHash.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;

std::uint64_t mixed(std::uint64_t state, std::uint64_t word)
{
    state = (state ^ word) * kMultiplier;
    return state ^ (state >> 29);
}

} // namespace

void ContentHash::mische(const char* block)
{
    for (int lane = 0; lane < 4; ++lane) {
        std::uint64_t word = 0;
        std::memcpy(&word, block + 8 * lane, 8);
        laneSums[lane] = mixed(laneSums[lane], word);
    }
}

void ContentHash::add(const char* data, std::size_t size)
{
    length += size;
    if (pendingBytes != 0) {
        const std::size_t taken = std::min(size, kBlock - pendingBytes);
        std::memcpy(pending + pendingBytes, data, taken);
        pendingBytes += taken;
        data += taken;
        size -= taken;
        if (pendingBytes < kBlock)
            return;
        mische(pending);
        pendingBytes = 0;
    }
    for (; size >= kBlock; data += kBlock, size -= kBlock)
        mische(data);
    std::memcpy(pending, data, size);
    pendingBytes = size;
}

std::uint64_t ContentHash::value() const
{
    std::uint64_t result = length;
    for (const std::uint64_t lane : laneSums)
        result = mixed(result, lane);
    for (std::size_t i = 0; i < pendingBytes; ++i)
        result = mixed(result, static_cast<unsigned char>(pending[i]));
    return result;
}
