// A file format reads and writes the stored texts as they are.
void read(Graphic &g) { g._shape_type = QStringLiteral("RR"); }
