#pragma once

#include <ostream>

// A table row shows in failure messages by its name; a test file takes it with `using rows::PrintTo;`
// in its own namespace, where GoogleTest looks for a row's printer.
namespace rows {

template <typename Row>
requires requires(const Row& row, std::ostream& os)
{
    os << row.name;
}
void PrintTo(const Row& row, std::ostream* os)
{
    *os << row.name;
}

} // namespace rows
