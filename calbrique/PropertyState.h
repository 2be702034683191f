#pragma once

#include <string>

// The part every station record begins with.
struct StationProps {
    std::wstring LineCharsList;
};

struct JournalProps : StationProps {
};

// The receipt and slip stations also print bar codes and bitmaps.
struct ImageStationProps : StationProps {
    std::wstring BarCodeRotationList;
    std::wstring BitmapRotationList;
};

// The printer's property values that are not members of the service object.
struct PropertyState {
    long AutoDisable = 0;
    long BinaryConversion = 0;
    std::wstring CheckHealthText;
    long AsyncMode = 0;
    long CharacterSet = 0;
    std::wstring CharacterSetList;
    std::wstring ErrorString;
    std::wstring FontTypefaceList;
    std::wstring PageModeArea;
    long PageModeDescriptor = 0;
    long PageModeHorizontalPosition = 0;
    std::wstring PageModePrintArea = L"0,0,0,0";  // nothing sets the print area
    long PageModePrintDirection = 0;
    long PageModeStation = 0;
    long PageModeVerticalPosition = 0;
    JournalProps Journal;
    ImageStationProps Receipt;
    ImageStationProps Slip;
};
