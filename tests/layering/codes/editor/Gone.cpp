void side() { export_card_side = SideCode::Both; }
