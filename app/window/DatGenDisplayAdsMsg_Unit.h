// The remote-control notice: shown when the database server refuses a session run through
// remote control, with a link to the product's guide on allowing it.
#pragma once

#include <QDialog>
#include <memory>

#include "common/Classes.h"

namespace Ui {
class TFrmDatGenDisplayAdsMsg;
}
class QLabel;
class QPushButton;

class TFrmDatGenDisplayAdsMsg : public QDialog, public TComponent {
  Q_OBJECT

 public:
  explicit TFrmDatGenDisplayAdsMsg(QWidget* parent = nullptr);
  ~TFrmDatGenDisplayAdsMsg() override;
  std::string ClassName() const override { return "TFrmDatGenDisplayAdsMsg"; }
  std::string UnitName() const override { return "DatGenDisplayAdsMsg_Unit"; }

  QLabel* LblMsg() const;
  QPushButton* Button1() const;
  QLabel* LblUrl() const;
  QLabel* Label2() const;
  QLabel* Label3() const;
  QLabel* Label4() const;

  // "Learn More": opens the guide in the desktop's web browser.
  void LblUrlClick();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::unique_ptr<Ui::TFrmDatGenDisplayAdsMsg> ui_;
};
