#include "app/window/DatGenDisplayAdsMsg_Unit.h"

#include <QMouseEvent>

#include "common/StrTable.h"
#include "db/RemoteControlNotice.h"
#include "platform/Platform.h"
#include "platform/SystemServices.h"
#include "platform/qt/QtForms.h"
#include "ui_DatGenDisplayAdsMsg_Unit.h"

TFrmDatGenDisplayAdsMsg::TFrmDatGenDisplayAdsMsg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      TComponent(nullptr, "FrmDatGenDisplayAdsMsg"),
      ui_(std::make_unique<Ui::TFrmDatGenDisplayAdsMsg>()) {
  ui_->setupUi(this);
  // Single fixed border without caption buttons, white, not scaled.
  setFixedSize(350, 145);
  setAutoFillBackground(true);
  QPalette white = palette();
  white.setColor(QPalette::Window, Qt::white);
  setPalette(white);
  ApplyFormFont(this, "MS Sans Serif", 11);
  for (QLabel* label : {LblMsg(), LblUrl(), Label2(), Label3(), Label4()}) label->adjustSize();

  QFont link = LblUrl()->font();
  link.setUnderline(true);
  LblUrl()->setFont(link);
  QPalette blue = LblUrl()->palette();
  blue.setColor(QPalette::WindowText, Qt::blue);
  LblUrl()->setPalette(blue);
  LblUrl()->adjustSize();
  LblUrl()->installEventFilter(this);

  // The Hebrew build leaves out the line that points at the link.
  if (LoadStr(sLangId) == "LNGHEB") Label4()->clear();

  Button1()->setDefault(false);
  Button1()->setAutoDefault(false);
  connect(Button1(), &QPushButton::clicked, this, &QDialog::reject);

  CentreOnScreen(this);
}

TFrmDatGenDisplayAdsMsg::~TFrmDatGenDisplayAdsMsg() = default;

QLabel* TFrmDatGenDisplayAdsMsg::LblMsg() const {
  return ui_->LblMsg;
}
QPushButton* TFrmDatGenDisplayAdsMsg::Button1() const {
  return ui_->Button1;
}
QLabel* TFrmDatGenDisplayAdsMsg::LblUrl() const {
  return ui_->LblUrl;
}
QLabel* TFrmDatGenDisplayAdsMsg::Label2() const {
  return ui_->Label2;
}
QLabel* TFrmDatGenDisplayAdsMsg::Label3() const {
  return ui_->Label3;
}
QLabel* TFrmDatGenDisplayAdsMsg::Label4() const {
  return ui_->Label4;
}

void TFrmDatGenDisplayAdsMsg::LblUrlClick() {
  Platform().System().ShellOpen(RemoteControlGuideUrl);
}

bool TFrmDatGenDisplayAdsMsg::eventFilter(QObject* watched, QEvent* event) {
  if (watched == LblUrl() && event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    LblUrlClick();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}
