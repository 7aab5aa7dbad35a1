// Keeps the library non-empty until the calculator has sources of its own.
