#pragma once

#include "TransactionBuffer.h"

#include <cstdint>
#include <string>

// The ESC/POS commands the print methods put into the transaction buffer.

// The printer set-up a transaction starts with.
extern const std::uint8_t TransactionSetUp[25];

// The GS k system byte of an OPOS symbology; false for a symbology this
// printer does not print.
bool BarCodeSystem(long symbology, std::uint8_t& system);

// The GS H byte of an OPOS text position: 02 below, 01 above, else 00 (none).
std::uint8_t TextPositionByte(long textPosition);

// Empties the buffer and puts the set-up sequence at its head.
void StartTransaction(TransactionBuffer& buffer);

// GS V: a full cut at exactly 100 percent, a partial cut otherwise.
void AppendCut(TransactionBuffer& buffer, long percentage);

// Height, text position and module width, then the bar code itself (GS k,
// function B, data unchanged) when the symbology is printed and `data`
// holds at most 255 bytes.
void AppendBarCode(TransactionBuffer& buffer, const std::string& data, long symbology, long textPosition);
