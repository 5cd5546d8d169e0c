// Placeholder so the library has a source until the window code lands.
