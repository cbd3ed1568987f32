#pragma once

// The unit each property field of a record is written in, by field index in
// record order; "" for a field without one. Temperatures are in degrees
// Celsius.

#include "ElementRecord.h"

#include <array>
#include <string_view>

namespace orbitra {

inline constexpr std::array<std::string_view, kPropertyCount> kFieldUnits{{
    "",             // chemical name
    "",             // atomic number
    "",             // atomic weight
    "C",            // melting point
    "C",            // boiling point
    "g/ml",         // density
    "",             // electron configuration
    "",             // valence electron
    "",             // crystal structure
    "J/g-K",        // specific heat
    "W/cm-K",       // thermal conductivity
    "10^6/cm-ohm",  // electrical conductivity
    "kJ/mol",       // heat of vaporization
    "kJ/mol",       // heat of fusion
}};

}  // namespace orbitra
