// The texts of the stored serial option indexes; entry i of a table stands
// for index i.
#pragma once

#include "OptionMap.h"

extern const OptionText BaudrateOptions[11];
extern const OptionText BitLengthOptions[2];
extern const OptionText ParityOptions[3];
extern const OptionText StopOptions[3];
extern const OptionText HandShakeOptions[3];
// Offered after the handshake options when XonXoffSel lists 1; chosen, it is
// stored as HandShake 0 with XonXoff 1.
extern const OptionText XonXoffOption;
