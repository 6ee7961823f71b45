#pragma once

#include <array>

// Makes one chosen call of a file operation fail, for the code linked with
// -Wl,--wrap for these functions. Calls pass through untouched otherwise.
namespace FaultInjection {

enum class Op { Open, Write, Fsync, Close, Rename, Unlink, ShortWrite, Count };
inline constexpr std::array<Op, 7> kAllOps = {Op::Open,   Op::Write,  Op::Fsync,     Op::Close,
                                              Op::Rename, Op::Unlink, Op::ShortWrite};

const char* name(Op op);

// Starts counting calls; the `nth` call (from 1) of `op` fails. nth 0 fails none.
void arm(Op op, int nth);
void disarm();
// Calls of `op` since the last arm.
int calls(Op op);
// Whether the injected failure came before a rename had succeeded.
bool failedBeforeRename();
bool failed();

} // namespace FaultInjection
