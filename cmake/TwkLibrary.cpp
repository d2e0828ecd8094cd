// SPDX-License-Identifier: MIT
// The TWK shared library is assembled from the object libraries of its
// subsystems; this unit only gives the target a source of its own.
namespace twk {
extern const char* const sLibraryName;
const char* const sLibraryName = "TWK";
}  // namespace twk
