// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>

namespace twk {

class Connection;

/// The ids of the contact table's records in the order the record list
/// shows them: the first iCount, or all of them for 0. Throws TwkError when
/// the table cannot be read.
QStringList ReadRecordIds(Connection& connection, int iCount);

}  // namespace twk
