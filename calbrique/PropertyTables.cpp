#include "PropertyTables.h"

#include <iterator>

namespace {

constexpr FixedNumber False{true, 0};
constexpr FixedNumber True{true, -1};
constexpr FixedNumber Unwritten{false, 0};
constexpr FixedNumber Number(long value) { return {true, value}; }

struct FixedRange {
    long First;
    long Last;
    FixedNumber Answer;
};

const FixedRange fixedRanges[] = {
    {8, 8, Number(ServiceObjectVersion)},
    {12, 12, Unwritten},      // DataCount
    {13, 13, Number(0)},      // PowerNotify
    {14, 14, Number(2001)},   // PowerState: online
    {501, 505, False},        // CapPowerReporting .. CapUpdateFirmware
    {8003, 8004, Unwritten},  // CoverOpen, ErrorStation
    {8006, 8018, Unwritten},  // JrnEmpty .. RecLineSpacing
    {8019, 8019, Number(3)},  // RecLinesToPaperCut
    {8020, 8045, Unwritten},  // RecLineWidth .. MapCharacterSet
};

// Capabilities from 8501 on (-1 true, 0 false), one entry per index.
constexpr long firstCapability = 8501;
const FixedNumber capabilities[] = {
    False,        // 8501 CapConcurrentJrnRec
    False,        // 8502 CapConcurrentJrnSlp
    False,        // 8503 CapConcurrentRecSlp
    True,         // 8504 CapCoverSensor
    False,        // 8505 CapJrn2Color
    True,         // 8506 CapJrnBold
    True,         // 8507 CapJrnDhigh
    True,         // 8508 CapJrnDwide
    True,         // 8509 CapJrnDwideDhigh
    True,         // 8510 CapJrnEmptySensor
    False,        // 8511 CapJrnItalic
    True,         // 8512 CapJrnNearEndSensor
    False,        // 8513 CapJrnPresent
    True,         // 8514 CapJrnUnderline
    False,        // 8515 CapRec2Color
    True,         // 8516 CapRecBarCode
    True,         // 8517 CapRecBitmap
    True,         // 8518 CapRecBold
    True,         // 8519 CapRecDhigh
    True,         // 8520 CapRecDwide
    True,         // 8521 CapRecDwideDhigh
    True,         // 8522 CapRecEmptySensor
    False,        // 8523 CapRecItalic
    True,         // 8524 CapRecLeft90
    True,         // 8525 CapRecNearEndSensor
    True,         // 8526 CapRecPapercut
    True,         // 8527 CapRecPresent
    Unwritten,    // 8528 CapRecRight90
    True,         // 8529 CapRecRotate180
    Unwritten,    // 8530 CapRecStamp
    True,         // 8531 CapRecUnderline
    False,        // 8532 CapSlp2Color
    True,         // 8533 CapSlpBarCode
    True,         // 8534 CapSlpBitmap
    True,         // 8535 CapSlpBold
    True,         // 8536 CapSlpDhigh
    True,         // 8537 CapSlpDwide
    True,         // 8538 CapSlpDwideDhigh
    True,         // 8539 CapSlpEmptySensor
    Unwritten,    // 8540 CapSlpFullslip
    False,        // 8541 CapSlpItalic
    True,         // 8542 CapSlpLeft90
    True,         // 8543 CapSlpNearEndSensor
    False,        // 8544 CapSlpPresent
    Unwritten,    // 8545 CapSlpRight90
    Unwritten,    // 8546 CapSlpRotate180
    Unwritten,    // 8547 CapSlpUnderline
    Number(998),  // 8548 CapCharacterSet: ASCII
    Unwritten,    // 8549 CapTransaction
    Unwritten,    // 8550 CapJrnCartridgeSensor
    Number(1),    // 8551 CapJrnColor
    Unwritten,    // 8552 CapRecCartridgeSensor
    Number(1),    // 8553 CapRecColor
    Unwritten,    // 8554 CapRecMarkFeed
    Unwritten,    // 8555 CapSlpBothSidesPrint
    Unwritten,    // 8556 CapSlpCartridgeSensor
    Number(1),    // 8557 CapSlpColor
    Unwritten,    // 8558 CapMapCharacterSet
    False,        // 8559 CapConcurrentPageMode
    False,        // 8560 CapRecPageMode
    False,        // 8561 CapSlpPageMode
};
constexpr long capabilityCount = static_cast<long>(std::size(capabilities));
static_assert(capabilityCount == 61, "capabilities run from 8501 to 8561");

}  // namespace

FixedNumber FixedPropertyNumber(long index)
{
    if (index >= firstCapability && index < firstCapability + capabilityCount)
        return capabilities[index - firstCapability];
    for (const FixedRange& range : fixedRanges)
        if (index >= range.First && index <= range.Last) return range.Answer;
    return Number(0);
}
