list(APPEND UI_FILES reservations commandesreservation zonetexte)
