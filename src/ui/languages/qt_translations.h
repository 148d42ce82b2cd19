// Qt's own texts (file dialogs, message box buttons, edit context menus) in the program's
// language, switched at run time with it.
#pragma once

#include <QString>
#include <QTranslator>
#include <cstdint>
#include <memory>

namespace korvan {

class QtTranslations {
  public:
    // `folder` holds qtbase_cs.qm and qtbase_de.qm; by default Qt's installed translations.
    explicit QtTranslations(QString folder = {});
    ~QtTranslations();
    QtTranslations(const QtTranslations&) = delete;
    QtTranslations& operator=(const QtTranslations&) = delete;

    // 0 Czech, 1 English, 2 German. English takes Qt's texts away again. False when the
    // language's file is missing; Qt then speaks English.
    bool SetLanguage(std::uint8_t language);

  private:
    void Remove();

    QString folder_;
    std::unique_ptr<QTranslator> translator_;
};

}  // namespace korvan
