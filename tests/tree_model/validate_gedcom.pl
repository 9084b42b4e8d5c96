#!/usr/bin/perl
# Reads a GEDCOM file with the Perl Gedcom module's GEDCOM 5.5.1 grammar and
# validates it; also checks that every pointer names a record of the file.
# Every problem found is printed; the exit status is 0 only when there is
# none. Prints the number of individuals and families read.
use strict;
use warnings;
use Gedcom;

my $file = shift or die "usage: validate_gedcom.pl FILE\n";
my $problems = 0;
local $SIG{__WARN__} = sub { $problems++; print STDERR "problem: $_[0]"; };

my $ged = Gedcom->new(gedcom_file => $file, grammar_version => "5.5.1", read_only => 1);
die "the file could not be read\n" unless $ged;
my $valid = $ged->validate;

# The reader keeps a pointer's identifier without its "@" signs.
my %pointers = map { $_ => 1 } qw(FAMS FAMC HUSB WIFE CHIL SUBM);
my @pending = @{$ged->{record}->_items};
while (my $item = shift @pending) {
    my $value = $item->{value};
    if ($pointers{$item->{tag}} && $item->{level} > 0 && !(defined $value && $ged->resolve_xref($value))) {
        warn "$file:$item->{line}: $item->{tag} points to no record of the file\n";
    }
    push @pending, @{$item->_items};
}

my @persons = $ged->individuals;
my @families = $ged->families;
print "persons=" . scalar(@persons) . " families=" . scalar(@families) . "\n";
exit(($valid && !$problems) ? 0 : 1);
