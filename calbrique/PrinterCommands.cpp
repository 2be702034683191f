#include "PrinterCommands.h"

namespace {

struct Symbology {
    long Number;
    std::uint8_t System;
};

const Symbology symbologies[] = {
    {101, 0x41},  // UPC-A
    {102, 0x42},  // UPC-E
    {103, 0x44},  // EAN-8 (JAN-8)
    {104, 0x43},  // EAN-13 (JAN-13)
    {106, 0x46},  // Interleaved 2 of 5
    {107, 0x47},  // Codabar
    {108, 0x45},  // Code 39
    {110, 0x49},  // Code 128
};

constexpr std::size_t maxBarCodeBytes = 255;

void AppendCommand(TransactionBuffer& buffer, const std::uint8_t* bytes, std::size_t count)
{
    buffer.Append(static_cast<std::int32_t>(count), reinterpret_cast<const char*>(bytes));
}

}  // namespace

const std::uint8_t TransactionSetUp[25] = {
    0x1B, 0x3D, 0x01,        // ESC = 1: the printer is the peripheral addressed
    0x1B, 0x61, 0x00,        // ESC a 0: left justification
    0x1D, 0x4C, 0x00, 0x00,  // GS L 0 0: left margin 0
    0x1B, 0x7B, 0x00,        // ESC { 0: upside-down printing off
    0x1B, 0x74, 0x00,        // ESC t 0: character code table page 0
    0x1B, 0x52, 0x00,        // ESC R 0: international character set 0
    0x1B, 0x21, 0x00,        // ESC ! 0: print mode reset
    0x1B, 0x33, 0x21,        // ESC 3 33: line spacing
};

bool BarCodeSystem(long symbology, std::uint8_t& system)
{
    for (const Symbology& entry : symbologies) {
        if (entry.Number == symbology) {
            system = entry.System;
            return true;
        }
    }
    return false;
}

std::uint8_t TextPositionByte(long textPosition)
{
    switch (textPosition) {
    case -13: return 0x02;  // below the bars
    case -12: return 0x01;  // above the bars
    default: return 0x00;
    }
}

void StartTransaction(TransactionBuffer& buffer)
{
    buffer.Clear();
    for (std::uint8_t b : TransactionSetUp) buffer.PushByte(b);
}

void AppendCut(TransactionBuffer& buffer, long percentage)
{
    const std::uint8_t cut[] = {0x1D, 0x56, static_cast<std::uint8_t>(percentage == 100 ? 0x00 : 0x01)};
    AppendCommand(buffer, cut, sizeof cut);
}

void AppendBarCode(TransactionBuffer& buffer, const std::string& data, long symbology, long textPosition)
{
    const std::uint8_t prepare[] = {
        0x1D, 0x68, 0x23,                           // GS h 35: height in dots
        0x1D, 0x48, TextPositionByte(textPosition),  // GS H: human-readable text
        0x1D, 0x77, 0x02,                           // GS w 2: module width
    };
    AppendCommand(buffer, prepare, sizeof prepare);

    std::uint8_t system = 0;
    if (!BarCodeSystem(symbology, system) || data.size() > maxBarCodeBytes) return;
    // Pushed, not translated: a count or data byte of 0A or 1B stays as it is.
    buffer.PushByte(0x1D).PushByte(0x6B).PushByte(system).PushByte(static_cast<std::uint8_t>(data.size()));
    for (char c : data) buffer.PushByte(static_cast<std::uint8_t>(c));
}
