#include <QCoreApplication>
#include <QTranslator>

namespace {

// Without a translation tr() only puts the number in: "1 video(s)". The English one picks the form.
void installPluralForms() {
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QStringLiteral(":/i18n/velarix_en.qm")))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installPluralForms)
