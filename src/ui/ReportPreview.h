#pragma once

#include <QDialog>
#include <QPrinter>

class QLabel;
class QPrintPreviewWidget;
class QSpinBox;
class QToolBar;
class ReportLayout;

// The engine's output dialog: the pages of a report with zoom and page navigation, from
// which the user prints on a printer or saves a PDF. Its child dialogs (printer choice,
// file name) run through Modal, like every screen.
class ReportPreview : public QDialog {
    Q_OBJECT
public:
    explicit ReportPreview(ReportLayout& layout, QWidget* parent = nullptr);
    ~ReportPreview() override;

    QPrintPreviewWidget* previewWidget() const { return m_view; }
    int pageCount() const;

    void printPages(); // asks for a printer, then prints
    void savePdf();    // asks for a file name, then writes
    void savePdfTo(const QString& path);

    // The report's title as a file name: "Απόδειξη 1001.pdf".
    QString proposedPdfName() const;
    // Where a PDF is proposed: the folder last saved to in this run, else the data folder.
    static QString pdfFolder();

private:
    void updatePageControls();

    ReportLayout& m_layout;
    QPrinter m_printer;
    QPrintPreviewWidget* m_view = nullptr;
    QSpinBox* m_page = nullptr;
    QLabel* m_pageCount = nullptr;
};
