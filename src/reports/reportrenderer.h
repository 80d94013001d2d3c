#pragma once

#include "reports/pagemodel.h"

#include <QCoreApplication>

class ReportDesign;
struct ReportData;

// Lays a design out into pages with the given data. Throws ReportError when the data does not fit the
// design (a different number of columns than the design declares fields).
namespace ReportRenderer {

ReportDocument render(const ReportDesign& design, const ReportData& data);

} // namespace ReportRenderer
