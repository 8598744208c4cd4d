// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The shipped reference data, read once per test program (the reference data level).
#include "refdata/ref_reader.h"
#include "refdata/ref_tables.h"

namespace ogrado::test {

inline RefTables shippedTables()
{
    static const RefTables tables = loadReferenceData(QStringLiteral(OGRADO_SHIPPED_DATA));
    return tables;
}

}  // namespace ogrado::test
