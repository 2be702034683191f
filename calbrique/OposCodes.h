#pragma once

// OPOS result codes the service object reports.
constexpr long OPOS_SUCCESS = 0;
constexpr long OPOS_E_CLOSED = 101;
constexpr long OPOS_E_NOTCLAIMED = 103;
constexpr long OPOS_E_DISABLED = 105;
constexpr long OPOS_E_NOEXIST = 109;
constexpr long OPOS_E_FAILURE = 111;
constexpr long OPOS_E_TIMEOUT = 112;
constexpr long OPOS_E_EXTENDED = 114;
constexpr long OPOS_ORS_NOTSUPPORTED = 402;

// Extended result codes of the printer's automatic status blocks.
constexpr long OPOS_EPTR_COVER_OPEN = 201;
constexpr long OPOS_EPTR_REC_EMPTY = 203;

// OPOS device state.
constexpr long OPOS_S_IDLE = 2;
