#pragma once

#include <QDialog>

#include <cstdint>

class QLabel;

// The machine's total physical memory in bytes, from the operating system's
// 64-bit figure; 0 when it cannot be had.
uint64_t PhysicalMemoryBytes();
// The memory figure as the dialog shows it: whole KB, truncated, then " KB".
QString MemoryFigure(uint64_t bytes);

// The about dialog: product name, version, copyright, the author's address
// as a mail link, the machine's physical memory and a short description.
// Fixed size, centred on the screen; the memory figure is taken once, when
// the dialog is created.
class TfrmAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAboutDlg(QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateComponents();
    void FormCreate();
    void lbWebLinkClick();
    void BtnOkClick();
    QLabel* AddLabel(const char* name, const QString& text, const QRect& box, const QFont& font,
                     Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop);

    QLabel* m_lbWebLink = nullptr;
    QLabel* m_lbMemory2 = nullptr;
};

// The about dialog while the About command shows one, otherwise null.
extern TfrmAboutDlg* frmAboutDlg;
