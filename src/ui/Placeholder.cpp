namespace corvanta {}
