list(APPEND UI_FILES editeurtable)
