#include "editor/TestForm.h"

#include <QFrame>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace editor {

TfrmShowFile::TfrmShowFile(QWidget* parent) : QDialog(parent)
{
  setObjectName("frmShowFile");
  setWindowTitle("Shipfile");
  setGeometry(217, 101, 454, 516);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  ListBox1 = new QListWidget(this);
  ListBox1->setObjectName("ListBox1");
  ListBox1->setUniformItemSizes(true);
  ListBox1->setStyleSheet("QListWidget::item { height: 13px; }");
  layout->addWidget(ListBox1);

  auto* bottom = new QFrame(this);
  bottom->setObjectName("Panel1");
  bottom->setFixedHeight(41);
  layout->addWidget(bottom);

  Button1 = new QPushButton("Close", bottom);
  Button1->setObjectName("Button1");
  Button1->setGeometry(360, 8, 73, 25);
  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
}

void TfrmShowFile::ShowLines(int side, const std::vector<std::string>& lines)
{
  ShowFileLines(QString("Shipfile side %1").arg(side), lines);
}

void TfrmShowFile::ShowFileLines(const QString& caption, const std::vector<std::string>& lines)
{
  setWindowTitle(caption);
  ListBox1->clear();
  QStringList items;
  items.reserve(static_cast<qsizetype>(lines.size()));
  for (const std::string& line : lines)
    items.append(QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size())));
  ListBox1->addItems(items);
}

void TfrmShowFile::SelectLine(int row)
{
  if (row < 0 || row >= ListBox1->count()) return;
  ListBox1->setCurrentRow(row);
  ListBox1->scrollToItem(ListBox1->item(row), QAbstractItemView::PositionAtCenter);
}

void TfrmShowFile::Button1Click() { accept(); }

}  // namespace editor
