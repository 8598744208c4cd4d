// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Colours that mark results in the windows.
#include <QtGlobal>

namespace ogrado {

using Rgb = quint32;  // 0xAARRGGBB

constexpr Rgb kWhite = 0xFFFFFFFF;
constexpr Rgb kBlack = 0xFF000000;
constexpr Rgb kHighlight = 0xFF00FFFF;  // RGB 0, 255, 255: a chosen cell or field
constexpr Rgb kRed = 0xFFFF0000;        // RGB 255, 0, 0: a failing result
constexpr Rgb kBlue = 0xFF0000FF;
constexpr Rgb kGrey = 0xFF808080;          // results that no longer belong to the input
constexpr Rgb kVerdictGreen = 0xFF90EE90;  // the construction complies
constexpr Rgb kVerdictRed = 0xFFFF8080;    // the construction does not comply
constexpr Rgb kStaleGrey = 0xFFDCDCDC;     // the verdict of an earlier input
constexpr Rgb kUserChoice = 0xFFFFF0A0;    // a row the user chose beside the one the program found

}  // namespace ogrado
