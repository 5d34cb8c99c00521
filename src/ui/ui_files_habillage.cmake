list(APPEND UI_FILES habillage)
