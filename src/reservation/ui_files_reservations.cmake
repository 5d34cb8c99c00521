list(APPEND UI_FILES reservations)
