#pragma once

#include <QString>
#include <QTest>
#include <functional>
#include <string>

#include "qt/varo16/Varo16Fixture.h"
#include "qt/varo199/Varo199Fixture.h"

// Cases that run in both programmers: the data rows name the program ("16"
// or "199"), and Run starts it (tests that include this link both programs'
// libraries).
namespace varo::test {

// Runs `body` in a started programmer ("16" or "199") in `language`; `first`
// is its first channel row (the 199-channel radio's row 1 is Pr).
inline void Run(const QString& program, const std::string& language,
                const std::function<void(SessionBase&, long first)>& body) {
  if (program == QLatin1String("16")) {
    Session s(language);
    QVERIFY(s.app);
    body(s, 1);
  } else {
    Session199 s(language);
    QVERIFY(s.app);
    body(s, 2);
  }
}

// Data rows "Varo16" and "Varo199V3" in column "program".
inline void Programs() {
  QTest::addColumn<QString>("program");
  QTest::newRow("Varo16") << QStringLiteral("16");
  QTest::newRow("Varo199V3") << QStringLiteral("199");
}

// Data rows "Varo16 English" ... "Varo199 Chinese" in columns "program" and
// "language".
inline void ProgramsAndLanguages() {
  QTest::addColumn<QString>("program");
  QTest::addColumn<QString>("language");
  for (const char* program : {"16", "199"})
    for (const char* language : {"English", "Chinese"})
      QTest::newRow(qPrintable(QStringLiteral("Varo%1 %2").arg(program, language)))
          << QString::fromLatin1(program) << QString::fromLatin1(language);
}

}  // namespace varo::test
