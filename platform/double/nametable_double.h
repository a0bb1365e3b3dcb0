#pragma once
// Test double of the name table: one table shared by every "copy" in the
// test, which counts the adds of each name as the system's table does.

#include <string>

namespace platform::fake {

// Whether `name` is in the table (without regard to case), and how many
// adds it has outstanding.
bool HasName(const std::string& name);
int NameCount(const std::string& name);
// While set, adding a name fails.
void SetAddFails(bool fails);
// Look-ups and adds so far, by any of the operations.
int NameTableCalls();
// An empty table, adds succeeding, no calls.
void ResetNameTable();

} // namespace platform::fake
