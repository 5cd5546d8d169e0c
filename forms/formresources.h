#pragma once

// The compiled-in resources live in the static `forms` library; the linker keeps them only when
// something references them, so every program that shows the form calls one of these first.

// Makes ":/resources/..." and ":/fonts/..." available. Safe to call more than once.
void initFormResources();

// Initialises the resources and loads the bundled faces: Mulish stands in for the forms' "Muli"
// and Liberation Sans (metric-compatible) for the style sheets' "Arial", so the window has the
// metrics it was laid out for on machines that have neither; a few Noto Emoji marks are there
// for the font fallback to find. Needs a QGuiApplication. Returns false when a face could not be
// loaded (Qt then substitutes as usual).
bool registerFormFonts();
