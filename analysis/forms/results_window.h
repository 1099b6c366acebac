#pragma once
// A results window: the report table of one report in the program's grid, as an MDI
// child of the main window. It keeps the table, so its rows still know which items
// they stand for after the user sorts them.
#include <QWidget>

#include "analysis/report_table.h"

namespace grid {
class FlexGrid;
}

class SrchTmLstFrm : public QWidget {
    Q_OBJECT
public:
    SrchTmLstFrm(ReportTable table, const std::string& caption, QWidget* parent = nullptr);

    grid::FlexGrid* fSearchTerms() const { return grid_; }
    const ReportTable& table() const { return table_; }

private:
    void fillGrid();

    ReportTable table_;
    grid::FlexGrid* grid_;
};
