#pragma once

// A write past the process's file-size limit ends the process with SIGXFSZ unless the signal is ignored;
// ignored, the write fails with EFBIG, and the save or the recovery copy under way says so like any other
// failed write, the map and the old file untouched.
void IgnoreFileSizeSignal();
