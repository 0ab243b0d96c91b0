#pragma once

// Image libraries that write their complaints straight to the terminal (libtiff warns about
// every private tag a camera or a scanner adds) are told to keep them: a picture that fails
// to read is reported by the reader, in the system's words.
void QuietImageLibraries();
