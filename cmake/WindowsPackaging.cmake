set(CPACK_GENERATOR ZIP)
include(CPack)
