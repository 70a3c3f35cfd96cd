// scripted backend
