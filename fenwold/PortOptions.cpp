#include "PortOptions.h"

const OptionText BaudrateOptions[11] = {
    {0, L"150 bps"},   {1, L"300 bps"},   {2, L"600 bps"},    {3, L"1200 bps"},
    {4, L"2400 bps"},  {5, L"4800 bps"},  {6, L"9600 bps"},   {7, L"19200 bps"},
    {8, L"38400 bps"}, {9, L"57600 bps"}, {10, L"115200 bps"},
};

const OptionText BitLengthOptions[2] = {{0, L"7"}, {1, L"8"}};

const OptionText ParityOptions[3] = {{0, L"None"}, {1, L"Even"}, {2, L"Odd"}};

const OptionText StopOptions[3] = {{0, L""}, {1, L"1 bit"}, {2, L"2 bits"}};

const OptionText HandShakeOptions[3] = {{0, L"Disable"}, {1, L"RTS/CTS"}, {2, L"DTR/DSR"}};

const OptionText XonXoffOption = {3, L"XON/XOFF"};
