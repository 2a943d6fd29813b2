#include "device/DpiScale.h"

#include <algorithm>

#include "device/MemoryMap.h"

namespace pallix {

DpiScale DpiScale::ForModel(int model) {
    if (model == memmap::kModel1802) return {40, 1, 100, 4000, 40, 1, 100};
    return {};
}

int DpiScale::StepToByte(int step) const {
    if (step >= maxStep) return maxByte;
    if (step <= minStep) return minByte;
    if (byteDivisor == dpiUnit) return step;
    return (100 * step + byteDivisor / 2) / byteDivisor;
}

int DpiScale::ByteToStep(int byte) const {
    if (byte >= maxByte) return maxStep;
    if (byte <= minByte) return minStep;
    if (byteDivisor == dpiUnit) return byte;
    return (byteDivisor * byte + 50) / 100;
}

int DpiScale::StepToDpi(int step) const { return dpiUnit * std::clamp(step, minStep, maxStep); }

int DpiScale::DpiToStep(int dpi) const {
    if (dpi <= 100) return 1;
    if (dpi >= 100 * maxStep) return maxStep;
    return dpi / 100;
}

}  // namespace pallix
