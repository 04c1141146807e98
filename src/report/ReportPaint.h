#pragma once

#include "report/ReportPages.h"

#include <QSizeF>

class QPainter;

// Draws one page of laid-out parts, and its number at the foot, on a painter whose units
// are CSS pixels from the top left of the page's text.
void paintReportPage(QPainter& painter, const ReportPages& pages, int page, const QSizeF& content);
