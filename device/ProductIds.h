#pragma once
// The mouse's USB identifiers: product configuration, set at build time.
#include <cstdint>

#ifndef PALLIX_VENDOR_ID
#define PALLIX_VENDOR_ID 0x1209
#endif
#ifndef PALLIX_PRODUCT_ID
#define PALLIX_PRODUCT_ID 0x0001
#endif
// The second product id the HID-class enumeration knows (a sibling product of the
// same vendor).
#ifndef PALLIX_ALT_PRODUCT_ID
#define PALLIX_ALT_PRODUCT_ID 0x0002
#endif

namespace pallix {

inline constexpr std::uint16_t kMouseVendorId = PALLIX_VENDOR_ID;
inline constexpr std::uint16_t kMouseProductId = PALLIX_PRODUCT_ID;
inline constexpr std::uint16_t kAltProductId = PALLIX_ALT_PRODUCT_ID;

}  // namespace pallix
