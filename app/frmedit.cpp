#include "app/frmedit.h"

#include <QFont>
#include <QFrame>
#include <QIcon>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QToolButton>

#include "components/tabed/ntabed.h"

namespace {

QFont FormFont() {
  QFont f("Arial");
  f.setPixelSize(13);
  return f;
}

// The "Done" glyph: a green tick.
QIcon DoneGlyph() {
  QPixmap pm(18, 18);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  QPainterPath tick;
  tick.moveTo(2.5, 9.5);
  tick.lineTo(7, 14);
  tick.lineTo(15.5, 3.5);
  p.setPen(QPen(QColor(0x00, 0x80, 0x00), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(tick);
  p.end();
  return QIcon(pm);
}

}  // namespace

TFrmEditDistri::TFrmEditDistri(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint) {
  setWindowTitle("Distribution");
  setFont(FormFont());
  setFixedSize(kOuterWidth, kOuterHeight);

  FPanel1 = new QFrame(this);
  FPanel1->setObjectName("Panel1");
  FPanel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
  FSpeedButton1 = new QToolButton(FPanel1);
  FSpeedButton1->setObjectName("SpeedButton1");
  FSpeedButton1->setText("Done");
  FSpeedButton1->setIcon(DoneGlyph());
  FSpeedButton1->setIconSize(QSize(18, 18));
  FSpeedButton1->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  FSpeedButton1->setFocusPolicy(Qt::NoFocus);  // a speed button never takes the focus
  FSpeedButton1->setGeometry(8, 5, 81, 30);
  connect(FSpeedButton1, &QToolButton::clicked, this, [this] { accept(); });

  FNTabEd1 = new TNTabEd(this);
  FNTabEd1->setObjectName("NTabEd1");
  FNTabEd1->SetAutoAdvance(true);
  FNTabEd1->SetRowAttribVisible(false);
  FNTabEd1->SetColorNormal(clNavy);
  FNTabEd1->SetColorMarked(clRed);
  FNTabEd1->SetDefaultColWidth(74);
  FNTabEd1->SetDefaultRowHeight(20);
  FNTabEd1->SetNrOfColumns(1);
  FNTabEd1->SetNumWidth(1);
  FNTabEd1->SetOptions({TGridOption::goFixedVertLine, TGridOption::goFixedHorzLine,
                        TGridOption::goVertLine, TGridOption::goHorzLine,
                        TGridOption::goRangeSelect, TGridOption::goEditing,
                        TGridOption::goAlwaysShowEditor});
  FNTabEd1->SetColWidth(0, 80);
  FNTabEd1->SetColWidth(1, 74);
  PlaceControls();
  FNTabEd1->setFocus();
}

void TFrmEditDistri::PlaceControls() {
  FPanel1->setGeometry(0, 0, width(), kPanelHeight);
  FNTabEd1->setGeometry(0, kPanelHeight, width(), height() - kPanelHeight);
}

void TFrmEditDistri::done(int r) {
  FNTabEd1->CommitEdit();
  QDialog::done(r);
}

void TFrmEditDistri::FitOuterSize() {
  // The window frame is known once the window is shown; the client area takes the
  // rest of the designed outer size.
  const QSize frame = frameGeometry().size() - geometry().size();
  setFixedSize(kOuterWidth - frame.width(), kOuterHeight - frame.height());
}

void TFrmEditDistri::showEvent(QShowEvent* e) {
  FitOuterSize();
  QDialog::showEvent(e);
}

void TFrmEditDistri::resizeEvent(QResizeEvent* e) {
  QDialog::resizeEvent(e);
  PlaceControls();
}
