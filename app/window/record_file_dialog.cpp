#include "app/window/record_file_dialog.h"

#include <QFileDialog>

#include "app/window/window_texts.h"

namespace kaimo {

QString chooseRecordPath(QWidget* parent, RecordFileUse use, Language language) {
  const bool picture = use == RecordFileUse::BoardPicture;
  const bool saving = use != RecordFileUse::Open;
  const texts::Text& title = picture ? texts::kSavePictureTitle : saving ? texts::kSaveRecordTitle : texts::kOpenRecordTitle;
  QFileDialog dialog(parent, QString::fromUtf8(title.in(language)));
  dialog.setNameFilter(QString::fromUtf8((picture ? texts::kPictureFileFilter : texts::kRecordFileFilter).in(language)));
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
