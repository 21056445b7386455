// Helpers of the data engine tests: the shared process and file helpers, and the path of a
// workbook kept with the tests.
#pragma once

#include "support/TestSupport.h"

namespace datatest
{

using testsupport::cardtool;
using testsupport::ProcResult;
using testsupport::python;
using testsupport::readFile;
using testsupport::run;
using testsupport::writeFile;

inline QString testFile(const QString &name)
{
    return QStringLiteral(TESSALY_TEST_DATA "/") + name;
}

} // namespace datatest
