#pragma once

// The compiled-in resources live in the static `forms` library; the linker keeps them only when
// something references them, so every program that shows the form calls one of these first.

// Makes ":/resources/..." and ":/fonts/..." available. Safe to call more than once.
void initFormResources();

// Initialises the resources, loads the bundled Mulish faces and maps the form's family "Muli"
// to them, so the window looks as designed on machines without that font. Needs a
// QGuiApplication. Returns false when a face could not be loaded (Qt then substitutes as usual).
bool registerFormFonts();
