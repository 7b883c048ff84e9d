#include "platform/TemporaryName.h"

#include <cstddef>
#include <random>

namespace quarvel {

namespace {

constexpr std::string_view kPrefix = ".quarvel-";
constexpr std::string_view kSuffix = ".tmp";
constexpr std::size_t kRandomLength = 6;
constexpr std::string_view kAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

bool isAlphabetChar(char c)
{
    return kAlphabet.find(c) != std::string_view::npos;
}

} // namespace

std::string makeTemporaryName()
{
    // One generator per thread, seeded from the system's entropy, so that
    // concurrent writers (threads or processes) rarely collide; the caller's
    // O_EXCL create retries when they do.
    thread_local std::mt19937_64 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, kAlphabet.size() - 1);
    std::string name(kPrefix);
    for (std::size_t i = 0; i < kRandomLength; ++i)
        name.push_back(kAlphabet[pick(generator)]);
    name.append(kSuffix);
    return name;
}

bool isTemporaryName(std::string_view name)
{
    if (name.size() != kPrefix.size() + kRandomLength + kSuffix.size() ||
        !name.starts_with(kPrefix) || !name.ends_with(kSuffix))
        return false;
    for (char c : name.substr(kPrefix.size(), kRandomLength)) {
        if (!isAlphabetChar(c))
            return false;
    }
    return true;
}

} // namespace quarvel
