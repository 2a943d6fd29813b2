#pragma once
// Sensitivity steps of the two models and the encoding of a sensitivity byte.
namespace pallix {

struct DpiScale {
    int maxStep = 57;
    int minStep = 1;
    int dpiUnit = 100;
    int maxDpi = 5700;
    int maxByte = 63;
    int minByte = 1;
    int byteDivisor = 90;

    static DpiScale ForModel(int model);  // 0x1802, or the 0x1801 scale for any other

    int StepToByte(int step) const;
    int ByteToStep(int byte) const;
    int StepToDpi(int step) const;
    // What a typed DPI value becomes: at most 1 below 100, maxStep from 100 * maxStep.
    int DpiToStep(int dpi) const;
};

}  // namespace pallix
