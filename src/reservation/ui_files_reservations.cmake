list(APPEND UI_FILES reservations commandesreservation commandesannulation dialoguesannulation zonetexte ongletfacturation
    envoicontrat)
