# Window files of the day at the desk (the rest is plain computation).
list(APPEND UI_FILES fenetrejournee boiterecherche ongletarrhes)
