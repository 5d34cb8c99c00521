list(APPEND UI_FILES editeurtable)
list(APPEND UI_FILES onglettarifs ongletetablissement)
