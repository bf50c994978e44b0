// The status codes of the core, and the error rule every layer follows.
//
// Error rule:
//   - A function that can fail returns an int status: 0 (kStatusOk) on success, a negative code
//     on failure. Functions never throw; allocation uses nothrow forms or catches bad_alloc at
//     the call and reports kStatusNoMemory.
//   - On failure the outputs are left untouched unless the function's header says otherwise.
//   - Readers are the exception to both: they return the number of traces appended (>= 0) or a
//     negative code, and traces appended before an error stay in the section.
//   - The failure is logged where it is found (src/log/Log.h); callers pass the code on.
//
// The codes below mean the same everywhere. A function with refusals of its own (bad arguments,
// nothing to do, a dialog cancelled) names them in an enum beside it in its header; those small
// negative values mean different things in different functions. The numeric values are fixed:
// kxtool exit codes, log files and tests rely on them.
#pragma once

inline constexpr int kStatusOk = 0;
// A function's one refusal or failure of its own (invalid arguments, nothing to do, a choice
// cancelled); its header says when. Functions with several such reasons name them instead.
inline constexpr int kStatusRefused = -1;
// A header (binary, trace or file descriptor) is invalid or of an unsupported kind.
inline constexpr int kStatusBadHeader = -4;
// An output file could not be written, flushed, synced or renamed into place; the partial file is
// removed and an existing target is untouched.
inline constexpr int kStatusWriteFailed = -100;
// A file cannot be opened for reading, or an output file (or its temporary file) cannot be created.
inline constexpr int kStatusOpenFailed = -101;
inline constexpr int kStatusSeekFailed = -103;
// A read failed or the file ended early.
inline constexpr int kStatusReadFailed = -104;
// Memory allocation failed.
inline constexpr int kStatusNoMemory = -999;
// No reader (or header dump) exists for the file's format code.
inline constexpr int kStatusNoReader = -9902;
