#pragma once

#include "tests/support/CardFixture.h"

#include <QObject>

#include <memory>

namespace velarix::test {

// A test case over a card fixture: `freshCard` gives each test a new one with an empty card, "CARD",
// in its volumes folder.
class CardTest : public QObject {
protected:
    std::unique_ptr<CardFixture> home = std::make_unique<CardFixture>();
    std::unique_ptr<FakeCard> card;

    void freshCard() {
        home = std::make_unique<CardFixture>();
        card = std::make_unique<FakeCard>(home->addCard(QStringLiteral("CARD")));
    }
};

} // namespace velarix::test
