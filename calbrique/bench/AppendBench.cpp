// Throughput of TransactionBuffer::Append on receipt-like text against a
// target of 1 GB/s, with memcpy over the same bytes for reference.
// Informational: prints numbers, exits 0.
#include "TransactionBuffer.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace
{

constexpr double targetMBps = 1000;

// Plain text, a line feed every ~40 bytes, an escape sequence every ~100.
std::string ReceiptText(std::size_t size)
{
    static const char* const words[] = {"COFFEE", "2 x", "12.50", "TOTAL", "Milk", "bread", "VAT 7%",
                                        "cash", "change", "0.35", "Thank you", "#0042", "sandwich"};
    static const char* const escapes[] = {"\x1b|bC", "\x1b|N", "\x1b|cA", "\x1b|2C", "\x1b|uC",
                                          "\x1b|lA", "\x1b|2lF", "\x1b|rA", "\x1b|4E\x1b|ab", "\x1b|1R."};
    std::uint32_t seed = 12345;
    auto next = [&seed](std::uint32_t n) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % n;
    };
    std::string text;
    text.reserve(size + 64);
    std::size_t line = 0;
    std::size_t sinceEscape = 0;
    while (text.size() < size)
    {
        const std::string word = words[next(sizeof words / sizeof *words)];
        text += word;
        text += ' ';
        line += word.size() + 1;
        sinceEscape += word.size() + 1;
        if (sinceEscape >= 90 + next(20))
        {
            text += escapes[next(sizeof escapes / sizeof *escapes)];
            sinceEscape = 0;
        }
        if (line >= 35 + next(10))
        {
            text += '\n';
            line = 0;
        }
    }
    return text;
}

template <class F>
double BestSeconds(int rounds, F&& run)
{
    double best = 1e30;
    for (int i = 0; i < rounds; ++i)
    {
        const auto start = std::chrono::steady_clock::now();
        run();
        const auto stop = std::chrono::steady_clock::now();
        best = std::min(best, std::chrono::duration<double>(stop - start).count());
    }
    return best;
}

} // namespace

int main()
{
    const std::string text = ReceiptText(4u << 20);
    const int rounds = 30;

    // As the service object sees it: receipts of about 2 KB, each appended
    // and then cleared by the transaction's end.
    std::vector<std::pair<std::size_t, std::size_t>> receipts;
    for (std::size_t at = 0; at < text.size();)
    {
        const std::size_t lineFeed = text.find('\n', at + 2000);
        const std::size_t stop = lineFeed == std::string::npos ? text.size() : lineFeed + 1;
        receipts.emplace_back(at, stop - at);
        at = stop;
    }
    TransactionBuffer buffer;
    const double perReceipt = BestSeconds(rounds, [&] {
        for (const auto& r : receipts)
        {
            buffer.Clear();
            buffer.Append(static_cast<std::int32_t>(r.second), text.data() + r.first);
        }
    });

    // PrintNormal line by line, each receipt cleared at its end.
    std::vector<std::pair<std::size_t, std::size_t>> lines;
    for (std::size_t at = 0; at < text.size();)
    {
        const std::size_t lineFeed = text.find('\n', at);
        const std::size_t stop = lineFeed == std::string::npos ? text.size() : lineFeed + 1;
        lines.emplace_back(at, stop - at);
        at = stop;
    }
    const double perLine = BestSeconds(rounds, [&] {
        std::size_t held = 0;
        for (const auto& l : lines)
        {
            buffer.Append(static_cast<std::int32_t>(l.second), text.data() + l.first);
            if ((held += l.second) >= 2000)
            {
                buffer.Clear();
                held = 0;
            }
        }
    });

    // The whole text in one call, into an empty buffer: includes its growth.
    std::uint32_t produced = 0;
    const double oneCall = BestSeconds(rounds, [&] {
        buffer.Clear();
        buffer.Append(static_cast<std::int32_t>(text.size()), text.data());
    });
    {
        const std::uint8_t* data = nullptr;
        buffer.Flatten(data, produced);
    }

    std::vector<char> copy(text.size());
    const double memcpySeconds = BestSeconds(rounds, [&] {
        std::memcpy(copy.data(), text.data(), text.size());
        asm volatile("" : : "r"(copy.data()) : "memory");
    });

    const double mb = static_cast<double>(text.size()) / 1e6;
    std::printf("input %.2f MB (%zu receipts), output %.2f MB, best of %d rounds\n", mb, receipts.size(),
                produced / 1e6, rounds);
    for (const auto& run : {std::make_pair("Append, one call per receipt", perReceipt),
                            std::make_pair("Append, one call per line", perLine),
                            std::make_pair("Append, one call for all", oneCall)})
    {
        const double rate = mb / run.second;
        std::printf("%-37s %8.0f MB/s  target (>= %.0f MB/s) %s\n", run.first, rate, targetMBps,
                    rate >= targetMBps ? "met" : "NOT met");
    }
    std::printf("%-37s %8.0f MB/s  (reference)\n", "memcpy", mb / memcpySeconds);
    return 0;
}
