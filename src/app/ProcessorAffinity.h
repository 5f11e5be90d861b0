#pragma once

namespace tuji {

// Restricts the whole process to its first processor: every thread running
// now (the toolkit's own ones included) and, by inheritance, every thread
// started later. "First" is the lowest processor the process may use, which
// is processor 0 unless the process was started restricted already.
// Returns false when a thread could not be moved.
bool PinProcessToFirstProcessor();

} // namespace tuji
