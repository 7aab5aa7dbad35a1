// Keeps the library non-empty until qrn4 has sources of its own.
