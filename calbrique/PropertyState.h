#pragma once

#include <string>

// A page-mode area: four numbers and their text form.
class AreaRect
{
public:
    AreaRect() { Set(0, 0, 0, 0); }
    void Set(long x, long y, long width, long height)
    {
        X = x;
        Y = y;
        Width = width;
        Height = height;
    }
    // The text "x,y,width,height", brought up to date.
    const std::wstring& Format() { return UpdateText(); }

private:
    const std::wstring& UpdateText()
    {
        Text = std::to_wstring(X) + L"," + std::to_wstring(Y) + L"," + std::to_wstring(Width) + L"," +
               std::to_wstring(Height);
        return Text;
    }

    long X = 0;
    long Y = 0;
    long Width = 0;
    long Height = 0;
    std::wstring Text;
};

// The part every station record begins with.
struct StationProps {
    std::wstring LineCharsList;
};

struct JournalProps : StationProps {
};

struct ReceiptProps : StationProps {
    std::wstring BarCodeRotationList;
    std::wstring BitmapRotationList;
};

struct SlipProps : StationProps {
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
    AreaRect PageModePrintArea;
    long PageModePrintDirection = 0;
    long PageModeStation = 0;
    long PageModeVerticalPosition = 0;
    JournalProps Journal;
    ReceiptProps Receipt;
    SlipProps Slip;
};
