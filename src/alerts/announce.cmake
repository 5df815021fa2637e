# Desktop notices and spoken alerts.
target_sources(marvix_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/SpokenText.h ${CMAKE_CURRENT_LIST_DIR}/SpokenText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DesktopNotifier.h ${CMAKE_CURRENT_LIST_DIR}/DesktopNotifier.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SpeechAnnouncer.h ${CMAKE_CURRENT_LIST_DIR}/SpeechAnnouncer.cpp
)
