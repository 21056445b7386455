void side() { export_card_side = QStringLiteral("BOTH"); }
