#include "app/window/record_file_dialog.h"

#include <QFileDialog>

namespace kaimo {

QString chooseRecordPath(QWidget* parent, RecordFileUse use) {
  const bool picture = use == RecordFileUse::BoardPicture;
  const bool saving = use != RecordFileUse::Open;
  QFileDialog dialog(parent, QString::fromUtf8(picture ? "盤面を画像で保存" : saving ? "棋譜を保存" : "棋譜を開く"));
  dialog.setNameFilter(QString::fromUtf8(picture ? kPictureFileFilter : kRecordFileFilter));
  dialog.setDefaultSuffix(QString::fromLatin1(picture ? kPictureDefaultSuffix : kRecordDefaultSuffix));
  dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  // Qt asks before replacing a file unless told otherwise; spelt out because
  // replacing a record without a word is the one thing this must never do.
  dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().constFirst();
}

}  // namespace kaimo
